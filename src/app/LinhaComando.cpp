#include "app/LinhaComando.h"

#include <QDateTime>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include "app/ConfiguracaoBanco.h"
#include "platform/VersaoSistema.h"
#include "panel/AtualizacaoPainel.h"
#include "panel/TabelaStatus.h"
#include "panel/VerificacaoStatus.h"
#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"
#include "servico/ExecucaoServico.h"

namespace {

// "--name=value" or "--name value"; false when the argument is another one.
// An option in the place of the value leaves the value missing.
bool Valor(const QStringList& argumentos, int& i, const QString& nome, QString& valor, bool& faltou) {
  const QString& arg = argumentos[i];
  faltou = false;
  if (arg.startsWith(nome + u'=')) {
    valor = arg.mid(nome.size() + 1);
    return true;
  }
  if (arg != nome) return false;
  if (i + 1 >= argumentos.size() || argumentos[i + 1].startsWith(QLatin1String("--"))) {
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
    if (!arquivoIni.isEmpty()) ConfiguracaoBanco::VerificarArquivoNomeado(arquivoIni);
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

// False when the bytes did not all get out (a full disk, a reader that went
// away): a script must not take a cut output for the whole one.
bool Escrever(std::FILE* destino, const QByteArray& bytes) {
  const std::size_t tamanho = static_cast<std::size_t>(bytes.size());
  const bool escritos = std::fwrite(bytes.constData(), 1, tamanho, destino) == tamanho;
  const bool descarregados = std::fflush(destino) == 0;
  return escritos && descarregados && !std::ferror(destino);
}

// Says why standard output failed (errno of the failed write) and gives the
// exit status.
int SaidaFalhou(int codigo) {
  const QString motivo = QString::fromLocal8Bit(std::strerror(errno));
  Escrever(stderr, QStringLiteral("Não foi possível escrever a saída: %1\n").arg(motivo).toUtf8());
  return codigo;
}

}  // namespace

LinhaComando::LinhaComando(const QStringList& argumentos)
    : FEnderecoServico(QStringLiteral("127.0.0.1")), FPortaServico(ServicoMonitoramento::kPortaPadrao) {
  Analisar(argumentos);
}

void LinhaComando::Analisar(const QStringList& argumentos) {
  bool ajuda = false, versao = false, status = false, servico = false;
  bool formatoDado = false, idadeDada = false, intervaloDado = false;
  QStringList erros;
  for (int i = 1; i < argumentos.size(); ++i) {
    const QString& arg = argumentos[i];
    QString valor;
    bool faltou = false;
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      ajuda = true;
    } else if (arg == QLatin1String("--version")) {
      versao = true;
    } else if (arg == QLatin1String("--status")) {
      status = true;
    } else if (arg == QLatin1String("--check")) {
      FVerificacaoPedida = true;
    } else if (arg == QLatin1String("--serve") || arg.startsWith(QLatin1String("--serve="))) {
      servico = true;
      if (arg.size() > 7) {
        const QString erro = AnalisarServico(arg.mid(8));
        if (!erro.isEmpty()) erros << erro;
      }
    } else if (Valor(argumentos, i, QStringLiteral("--interval"), valor, faltou)) {
      bool numero = false;
      const int segundos = valor.toInt(&numero);
      if (faltou || !numero || segundos < 1 || segundos > 3600 || valor.startsWith(u'+'))
        erros << QStringLiteral("--interval precisa de um número inteiro de segundos, de 1 a 3600: '%1'.").arg(valor);
      else
        FIntervaloServico = segundos;
      intervaloDado = true;
    } else if (arg == QLatin1String("--fast-counts")) {
      FContagemRapida = true;
    } else if (Valor(argumentos, i, QStringLiteral("--ini"), valor, faltou)) {
      if (faltou || valor.isEmpty())
        erros << QStringLiteral("--ini precisa de um arquivo.");
      else
        FArquivoIni = valor;
    } else if (Valor(argumentos, i, QStringLiteral("--format"), valor, faltou)) {
      if (faltou || !SaidaStatus::FormatoPorNome(valor, FFormato))
        erros << QStringLiteral("Formato desconhecido: '%1' (use table, csv, json ou prometheus).").arg(valor);
      formatoDado = true;
    } else if (Valor(argumentos, i, QStringLiteral("--max-age"), valor, faltou)) {
      bool numero = false;
      const qint64 minutos = valor.toLongLong(&numero);
      constexpr qint64 kMaiorIdade = 1000LL * 1000 * 1000;  // keeps minutes × 60 far from overflow
      if (faltou || !numero || minutos < 0 || minutos > kMaiorIdade || valor.startsWith(u'+'))
        erros << QStringLiteral("--max-age precisa de um número inteiro de minutos, 0 ou mais: '%1'.").arg(valor);
      else
        FIdadeMaxima = minutos;
      idadeDada = true;
    } else {
      erros << QStringLiteral("Opção desconhecida: %1").arg(arg);
    }
  }
  if (status && FVerificacaoPedida) erros.prepend(QStringLiteral("--status e --check não podem ser usados juntos."));
  if (servico && (status || FVerificacaoPedida))
    erros.prepend(QStringLiteral("--serve não pode ser usado com --status ou --check."));
  if (formatoDado && !status) erros << QStringLiteral("--format só vale com --status.");
  if (idadeDada && !FVerificacaoPedida && !servico)
    erros << QStringLiteral("--max-age só vale com --check ou --serve.");
  if (intervaloDado && !servico) erros << QStringLiteral("--interval só vale com --serve.");

  if (ajuda) {
    FModo = Modo::Ajuda;
  } else if (versao) {
    FModo = Modo::Versao;
  } else if (!status && !FVerificacaoPedida && !servico) {
    FModo = Modo::Janela;
    FAvisos = erros;
  } else if (!erros.isEmpty()) {
    FModo = Modo::ErroUso;
    FErro = erros.first();
  } else {
    FModo = servico ? Modo::Servico : status ? Modo::Status : Modo::Verificacao;
  }
}

// "ENDERECO:PORTA", the address in brackets when it is IPv6 ("[::1]:7431").
QString LinhaComando::AnalisarServico(const QString& valor) {
  const int doisPontos = static_cast<int>(valor.lastIndexOf(u':'));
  QString endereco = doisPontos > 0 ? valor.left(doisPontos) : QString();
  const QString porta = doisPontos > 0 ? valor.mid(doisPontos + 1) : QString();
  if (endereco.startsWith(u'[') && endereco.endsWith(u']')) endereco = endereco.mid(1, endereco.size() - 2);
  bool numero = false;
  const int numeroPorta = porta.toInt(&numero);
  const bool enderecoValido = !endereco.isEmpty() && !endereco.contains(u'[') && !endereco.contains(u']') &&
                              !endereco.contains(u' ') &&
                              (!endereco.contains(u':') || valor.startsWith(u'['));
  if (!enderecoValido || !numero || numeroPorta < 0 || numeroPorta > 65535 || porta.startsWith(u'+'))
    return QStringLiteral("--serve precisa de ENDEREÇO:PORTA, por exemplo 127.0.0.1:%1 ou [::1]:%1: '%2'.")
        .arg(ServicoMonitoramento::kPortaPadrao)
        .arg(valor);
  FEnderecoServico = endereco;
  FPortaServico = numeroPorta;
  return QString();
}

QString LinhaComando::Ajuda() {
  return QStringLiteral(
      "Uso: painel-integracao [--ini=ARQUIVO] [--fast-counts]\n"
      "     painel-integracao --status [--format=table|csv|json|prometheus] [--ini=ARQUIVO] [--fast-counts]\n"
      "     painel-integracao --check [--max-age=MINUTOS] [--ini=ARQUIVO] [--fast-counts]\n"
      "     painel-integracao --serve[=ENDEREÇO:PORTA] [--interval=SEGUNDOS] [--max-age=MINUTOS]\n"
      "                           [--ini=ARQUIVO] [--fast-counts]\n"
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
      "                     2 CRITICAL (erros não conferidos), 3 UNKNOWN (banco ilegível,\n"
      "                     nenhuma máquina ou opção errada)\n"
      "  --max-age=MINUTOS  idade máxima do último recebimento e envio (padrão 60);\n"
      "                     com --serve, marca as linhas atrasadas na página\n"
      "  --serve            serviço de monitoramento HTTP até SIGTERM: a página de\n"
      "                     status em /, /metrics (Prometheus), /status.json,\n"
      "                     /history.json e /healthz; escuta em\n"
      "                     127.0.0.1:7431 se não for dado outro ENDEREÇO:PORTA\n"
      "  --interval=SEGUNDOS  período de atualização do serviço, de 1 a 3600\n"
      "                     (padrão: o intervalo do painel gravado no banco)\n"
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
  if (!Escrever(stdout, SaidaStatus::Escrever(FFormato, tabela.Linhas()))) return SaidaFalhou(1);
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
  if (!Escrever(stdout, resultado.Linha.toUtf8() + '\n')) return SaidaFalhou(VerificacaoStatus::Desconhecido);
  return resultado.CodigoSaida;
}

int LinhaComando::ExecutarServico() const {
  ServicoMonitoramento::Opcoes opcoes;
  opcoes.Atualizacao.ArquivoIni = FArquivoIni.isEmpty() ? ConfiguracaoBanco::ArquivoPadrao() : FArquivoIni;
  opcoes.Atualizacao.ArquivoNomeado = !FArquivoIni.isEmpty();
  opcoes.Atualizacao.ContagemRapida = FContagemRapida;
  opcoes.Atualizacao.Periodo = std::chrono::seconds(FIntervaloServico);
  opcoes.Http.Endereco = FEnderecoServico.toStdString();
  opcoes.Http.Porta = FPortaServico;
  opcoes.Pagina.IdadeMaximaMinutos = FIdadeMaxima;
  if (FIntervaloServico > 0) opcoes.Pagina.AtualizarSegundos = FIntervaloServico;
  return ExecucaoServico::Executar(std::move(opcoes));
}

int LinhaComando::Executar() const {
#ifdef SIGPIPE
  // A reader that went away must show as a failed write, not end the
  // process without a word.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  switch (FModo) {
    case Modo::Ajuda:
      return Escrever(stdout, Ajuda().toUtf8()) ? 0 : SaidaFalhou(1);
    case Modo::Versao:
      return Escrever(stdout, "painel-integracao " + VersaoSistema().toUtf8() + '\n') ? 0 : SaidaFalhou(1);
    case Modo::ErroUso:
      if (FVerificacaoPedida) {
        const QByteArray linha = VerificacaoStatus::Falhou(FErro).Linha.toUtf8() + '\n';
        return Escrever(stdout, linha) ? VerificacaoStatus::Desconhecido : SaidaFalhou(VerificacaoStatus::Desconhecido);
      }
      Escrever(stderr, FErro.toUtf8() + "\n\n" + Ajuda().toUtf8());
      return 2;
    case Modo::Status:
      return ExecutarStatus();
    case Modo::Verificacao:
      return ExecutarVerificacao();
    case Modo::Servico:
      return ExecutarServico();
    case Modo::Janela:
      break;
  }
  return 0;
}

void LinhaComando::Avisar() const {
  for (const QString& aviso : FAvisos) Escrever(stderr, aviso.toUtf8() + '\n');
}
