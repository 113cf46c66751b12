#include "app/LinhaComando.h"

#include <QDateTime>
#include <cstdio>
#include <new>

#include "app/ConfiguracaoBanco.h"
#include "app/VersaoSistema.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "panel/VerificacaoStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"

namespace {

// "--name=value" or "--name value"; false when the argument is another one.
bool Valor(const QStringList& argumentos, int& i, const QString& nome, QString& valor, bool& faltou) {
  const QString& arg = argumentos[i];
  faltou = false;
  if (arg.startsWith(nome + u'=')) {
    valor = arg.mid(nome.size() + 1);
    return true;
  }
  if (arg != nome) return false;
  if (i + 1 >= argumentos.size()) {
    faltou = true;
    return true;
  }
  valor = argumentos[++i];
  return true;
}

// Reads the rows as the panel does. On failure, the message the window
// would show.
bool LerStatus(const QString& arquivoIni, bool contagemRapida, TabelaStatus& tabela, QString& erro) {
  try {
    ConexaoBanco conexao;
    const QString arquivo = arquivoIni.isEmpty() ? ConfiguracaoBanco::ArquivoPadrao() : arquivoIni;
    ConfiguracaoBanco::ConectarBanco(conexao, arquivo);
    AtualizacaoPainel atualizacao(conexao, tabela);
    atualizacao.SetContagemRapida(ConfiguracaoBanco::ContagemRapida(arquivo, contagemRapida));
    atualizacao.Atualizar();
    return true;
  } catch (const Falha& falha) {
    erro = falha.Mensagem();
  } catch (const std::bad_alloc&) {
    erro = QStringLiteral("Memória insuficiente para concluir a operação.");
  } catch (const std::exception& e) {
    erro = QString::fromLocal8Bit(e.what());
  }
  return false;
}

void Escrever(std::FILE* destino, const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
  std::fflush(destino);
}

}  // namespace

LinhaComando::LinhaComando(const QStringList& argumentos) { Analisar(argumentos); }

void LinhaComando::ErroDeUso(const QString& erro) {
  FModo = Modo::ErroUso;
  FErro = erro;
}

bool LinhaComando::PedirModo(Modo modo) {
  if (FModo != Modo::Janela && FModo != modo) {
    ErroDeUso(QStringLiteral("--status e --check não podem ser usados juntos."));
    return false;
  }
  FModo = modo;
  return true;
}

void LinhaComando::Analisar(const QStringList& argumentos) {
  bool formatoDado = false;
  bool idadeDada = false;
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    QString valor;
    bool faltou = false;
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
      if (FArquivoIni.isEmpty()) return ErroDeUso(QStringLiteral("--ini precisa do caminho de um arquivo."));
    } else if (arg == QLatin1String("--ini") && i + 1 < argumentos.size()) {
      FArquivoIni = argumentos[++i];
      if (FArquivoIni.isEmpty()) return ErroDeUso(QStringLiteral("--ini precisa do caminho de um arquivo."));
    } else if (arg == QLatin1String("--status")) {
      if (!PedirModo(Modo::Status)) return;
    } else if (arg == QLatin1String("--check")) {
      if (!PedirModo(Modo::Verificacao)) return;
    } else if (arg == QLatin1String("--fast-counts")) {
      FContagemRapida = true;
    } else if (Valor(argumentos, i, QStringLiteral("--format"), valor, faltou)) {
      if (faltou || !SaidaStatus::FormatoPorNome(valor, FFormato))
        return ErroDeUso(QStringLiteral("Formato desconhecido: '%1' (use table, csv, json ou prometheus).").arg(valor));
      formatoDado = true;
    } else if (Valor(argumentos, i, QStringLiteral("--max-age"), valor, faltou)) {
      bool numero = false;
      const qint64 minutos = valor.toLongLong(&numero);
      constexpr qint64 kMaiorIdade = 1000LL * 1000 * 1000;  // keeps minutes × 60 far from overflow
      if (faltou || !numero || minutos < 0 || minutos > kMaiorIdade || valor.startsWith(u'+'))
        return ErroDeUso(QStringLiteral("--max-age precisa de um número inteiro de minutos, 0 ou mais: '%1'.").arg(valor));
      FIdadeMaxima = minutos;
      idadeDada = true;
    } else {
      return ErroDeUso(QStringLiteral("Opção desconhecida: %1").arg(arg));
    }
  }
  if (formatoDado && FModo != Modo::Status) return ErroDeUso(QStringLiteral("--format só vale com --status."));
  if (idadeDada && FModo != Modo::Verificacao) return ErroDeUso(QStringLiteral("--max-age só vale com --check."));
}

QString LinhaComando::Ajuda() {
  return QStringLiteral(
      "Uso: painel-integracao [--ini=ARQUIVO] [--fast-counts]\n"
      "     painel-integracao --status [--format=table|csv|json|prometheus] [--ini=ARQUIVO] [--fast-counts]\n"
      "     painel-integracao --check [--max-age=MINUTOS] [--ini=ARQUIVO] [--fast-counts]\n"
      "\n"
      "Painel de controle da integração off-line: mostra, por filial e máquina,\n"
      "o estado da troca de registros com o banco central.\n"
      "\n"
      "  --ini=ARQUIVO      lê a configuração de ARQUIVO em vez de Caminho.ini\n"
      "                     na pasta do executável\n"
      "  --status           escreve as linhas do painel, sem abrir a janela\n"
      "  --format=FORMATO   table (padrão), csv, json ou prometheus\n"
      "  --check            uma linha para monitoramento (Nagios): 0 OK, 1 WARNING\n"
      "                     (último recebimento ou envio ausente ou antigo),\n"
      "                     2 CRITICAL (erros não conferidos), 3 UNKNOWN (banco ilegível)\n"
      "  --max-age=MINUTOS  idade máxima do último recebimento e envio (padrão 60)\n"
      "  --fast-counts      conta \"A serem enviados\" e \"Registros na Fila\" lendo as\n"
      "                     alterações uma vez por atualização, e não uma vez por\n"
      "                     máquina: os mesmos números, muito mais depressa\n"
      "  --help             mostra esta ajuda\n"
      "  --version          mostra a versão\n");
}

int LinhaComando::ExecutarStatus() const {
  TabelaStatus tabela;
  QString erro;
  if (!LerStatus(FArquivoIni, FContagemRapida, tabela, erro)) {
    Escrever(stderr, erro.toUtf8() + '\n');
    return 1;
  }
  Escrever(stdout, SaidaStatus::Escrever(FFormato, tabela.Linhas()));
  return 0;
}

int LinhaComando::ExecutarVerificacao() const {
  TabelaStatus tabela;
  QString erro;
  VerificacaoStatus::Resultado resultado;
  if (LerStatus(FArquivoIni, FContagemRapida, tabela, erro)) {
    resultado = VerificacaoStatus::Verificar(tabela.Linhas(), FIdadeMaxima, QDateTime::currentDateTime());
  } else {
    resultado = VerificacaoStatus::Falhou(erro);
    Escrever(stderr, erro.toUtf8() + '\n');
  }
  Escrever(stdout, resultado.Linha.toUtf8() + '\n');
  return resultado.CodigoSaida;
}

int LinhaComando::Executar() const {
  switch (FModo) {
    case Modo::Ajuda:
      Escrever(stdout, Ajuda().toUtf8());
      return 0;
    case Modo::Versao:
      Escrever(stdout, "painel-integracao " + VersaoSistema().toUtf8() + '\n');
      return 0;
    case Modo::ErroUso:
      Escrever(stderr, FErro.toUtf8() + "\n\n" + Ajuda().toUtf8());
      return 2;
    case Modo::Status:
      return ExecutarStatus();
    case Modo::Verificacao:
      return ExecutarVerificacao();
    case Modo::Janela:
      break;
  }
  return 0;
}
