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
#include "servico/ExecucaoServico.h"

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
    ConfiguracaoBanco::ConectarBanco(conexao, arquivoIni.isEmpty() ? ConfiguracaoBanco::ArquivoPadrao() : arquivoIni);
    AtualizacaoPainel atualizacao(conexao, tabela);
    atualizacao.SetContagemRapida(contagemRapida);
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

LinhaComando::LinhaComando(const QStringList& argumentos)
    : FEnderecoServico(QStringLiteral("127.0.0.1")), FPortaServico(ServicoMonitoramento::kPortaPadrao) {
  Analisar(argumentos);
}

void LinhaComando::ErroDeUso(const QString& erro) {
  FModo = Modo::ErroUso;
  FErro = erro;
}

bool LinhaComando::PedirModo(Modo modo) {
  if (FModo != Modo::Janela && FModo != modo) {
    ErroDeUso(FModo == Modo::Servico || modo == Modo::Servico
                  ? QStringLiteral("--serve não pode ser usado com --status ou --check.")
                  : QStringLiteral("--status e --check não podem ser usados juntos."));
    return false;
  }
  FModo = modo;
  return true;
}

void LinhaComando::Analisar(const QStringList& argumentos) {
  bool formatoDado = false;
  bool idadeDada = false;
  bool intervaloDado = false;
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
    } else if (arg == QLatin1String("--serve") || arg.startsWith(QLatin1String("--serve="))) {
      if (!PedirModo(Modo::Servico)) return;
      if (arg.size() > 7 && !AnalisarServico(arg.mid(8))) return;
    } else if (Valor(argumentos, i, QStringLiteral("--interval"), valor, faltou)) {
      bool numero = false;
      const int segundos = valor.toInt(&numero);
      if (faltou || !numero || segundos < 1 || segundos > 3600 || valor.startsWith(u'+'))
        return ErroDeUso(
            QStringLiteral("--interval precisa de um número inteiro de segundos, de 1 a 3600: '%1'.").arg(valor));
      FIntervaloServico = segundos;
      intervaloDado = true;
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
  if (idadeDada && FModo != Modo::Verificacao && FModo != Modo::Servico)
    return ErroDeUso(QStringLiteral("--max-age só vale com --check ou --serve."));
  if (intervaloDado && FModo != Modo::Servico) return ErroDeUso(QStringLiteral("--interval só vale com --serve."));
}

// "ENDERECO:PORTA", the address in brackets when it is IPv6 ("[::1]:7431").
bool LinhaComando::AnalisarServico(const QString& valor) {
  const int doisPontos = static_cast<int>(valor.lastIndexOf(u':'));
  QString endereco = doisPontos > 0 ? valor.left(doisPontos) : QString();
  const QString porta = doisPontos > 0 ? valor.mid(doisPontos + 1) : QString();
  if (endereco.startsWith(u'[') && endereco.endsWith(u']')) endereco = endereco.mid(1, endereco.size() - 2);
  bool numero = false;
  const int numeroPorta = porta.toInt(&numero);
  const bool enderecoValido = !endereco.isEmpty() && !endereco.contains(u'[') && !endereco.contains(u']') &&
                              !endereco.contains(u' ') &&
                              (!endereco.contains(u':') || valor.startsWith(u'['));
  if (!enderecoValido || !numero || numeroPorta < 0 || numeroPorta > 65535 || porta.startsWith(u'+')) {
    ErroDeUso(QStringLiteral("--serve precisa de ENDEREÇO:PORTA, por exemplo 127.0.0.1:%1 ou [::1]:%1: '%2'.")
                  .arg(ServicoMonitoramento::kPortaPadrao)
                  .arg(valor));
    return false;
  }
  FEnderecoServico = endereco;
  FPortaServico = numeroPorta;
  return true;
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
      "                     2 CRITICAL (erros não conferidos), 3 UNKNOWN (banco ilegível)\n"
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

int LinhaComando::ExecutarServico() const {
  ServicoMonitoramento::Opcoes opcoes;
  opcoes.Atualizacao.ArquivoIni = FArquivoIni.isEmpty() ? ConfiguracaoBanco::ArquivoPadrao() : FArquivoIni;
  opcoes.Atualizacao.ContagemRapida = FContagemRapida;
  opcoes.Atualizacao.Periodo = std::chrono::seconds(FIntervaloServico);
  opcoes.Http.Endereco = FEnderecoServico.toStdString();
  opcoes.Http.Porta = FPortaServico;
  opcoes.Pagina.IdadeMaximaMinutos = FIdadeMaxima;
  if (FIntervaloServico > 0) opcoes.Pagina.AtualizarSegundos = FIntervaloServico;
  return ExecucaoServico::Executar(std::move(opcoes));
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
    case Modo::Servico:
      return ExecutarServico();
    case Modo::Janela:
      break;
  }
  return 0;
}
