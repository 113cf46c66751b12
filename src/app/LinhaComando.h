#pragma once

#include <QString>
#include <QStringList>

// The options of the executable. Without any, it opens the panel. "--ini"
// takes the configuration from another file, for the window too; "--help"
// and "--version" print and end. A wrong option ends with status 2 and a
// short help on standard error.
class LinhaComando {
 public:
  enum class Modo { Janela, Ajuda, Versao, ErroUso };

  explicit LinhaComando(const QStringList& argumentos);

  Modo ModoPedido() const { return FModo; }
  bool AbreJanela() const { return FModo == Modo::Janela; }
  // Runs a mode without a window and gives the exit status.
  int Executar() const;

  // Empty: "Caminho.ini" beside the executable.
  const QString& ArquivoIni() const { return FArquivoIni; }
  const QString& Erro() const { return FErro; }

  static QString Ajuda();

 private:
  void Analisar(const QStringList& argumentos);

  Modo FModo = Modo::Janela;
  QString FArquivoIni;
  QString FErro;
};
