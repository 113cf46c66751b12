// Prints the encoded form of a user name or password for "Caminho.ini".
#include <QCoreApplication>
#include <cstdio>

#include "Credencial.h"
#include "app/DecodificacaoCredencial.h"
#include "platform/Windows1252.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 2) {
    std::fprintf(stderr, "Uso: codificar-credencial TEXTO\n");
    return 2;
  }
  const QByteArray plano = Windows1252::deUnicode(args[1]);
  if (Windows1252::paraUnicode(plano) != args[1]) {
    std::fprintf(stderr, "O texto tem caracteres que o Windows-1252 não representa.\n");
    return 2;
  }
  if (plano.contains('\0')) {
    std::fprintf(stderr, "O texto não pode conter o caractere zero.\n");
    return 2;
  }
  const QString codificado = CodificarCredencial(plano);
  // The program decodes what this prints; refuse to print what it would not
  // give back.
  if (DecodificacaoCredencial::DecodeConfigText(codificado.toLatin1()) != plano) {
    std::fprintf(stderr, "Falha interna: o texto codificado não volta ao original.\n");
    return 1;
  }
  std::printf("%s\n", qPrintable(codificado));
  return 0;
}
