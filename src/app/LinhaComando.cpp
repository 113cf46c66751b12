#include "app/LinhaComando.h"

#include <cstdio>

#include "app/VersaoSistema.h"

LinhaComando::LinhaComando(const QStringList& argumentos) { Analisar(argumentos); }

void LinhaComando::Analisar(const QStringList& argumentos) {
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      FModo = Modo::Ajuda;
      return;
    }
    if (arg == QLatin1String("--version")) {
      FModo = Modo::Versao;
      return;
    }
    if (arg.startsWith(QLatin1String("--ini="))) {
      FArquivoIni = arg.mid(6);
    } else if (arg == QLatin1String("--ini") && i + 1 < argumentos.size()) {
      FArquivoIni = argumentos[++i];
    } else {
      FModo = Modo::ErroUso;
      FErro = QStringLiteral("Opção desconhecida: %1").arg(arg);
      return;
    }
    if (FArquivoIni.isEmpty()) {
      FModo = Modo::ErroUso;
      FErro = QStringLiteral("--ini precisa do caminho de um arquivo.");
      return;
    }
  }
}

QString LinhaComando::Ajuda() {
  return QStringLiteral(
      "Uso: painel-integracao [--ini=ARQUIVO]\n"
      "\n"
      "Painel de controle da integração off-line: mostra, por filial e máquina,\n"
      "o estado da troca de registros com o banco central.\n"
      "\n"
      "  --ini=ARQUIVO  lê a configuração de ARQUIVO em vez de Caminho.ini\n"
      "                 na pasta do executável\n"
      "  --help         mostra esta ajuda\n"
      "  --version      mostra a versão\n");
}

int LinhaComando::Executar() const {
  switch (FModo) {
    case Modo::Ajuda:
      std::fputs(qUtf8Printable(Ajuda()), stdout);
      return 0;
    case Modo::Versao:
      std::printf("painel-integracao %s\n", qUtf8Printable(VersaoSistema()));
      return 0;
    case Modo::ErroUso:
      std::fprintf(stderr, "%s\n\n%s", qUtf8Printable(FErro), qUtf8Printable(Ajuda()));
      return 2;
    case Modo::Janela:
      break;
  }
  return 0;
}
