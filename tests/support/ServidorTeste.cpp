#include "ServidorTeste.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <firebird/Interface.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <vector>

#include "BancoTeste.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

namespace {

// The server's pid for the signal handler, which may read nothing else.
std::atomic<pid_t> gPidServidor{0};
struct sigaction gAnteriores[NSIG];

void AoSinalFatal(int sinal) {
  const pid_t pid = gPidServidor.load();
  if (pid > 0) kill(pid, SIGKILL);
  // The previous disposition handles the signal once this handler returns.
  sigaction(sinal, &gAnteriores[sinal], nullptr);
  raise(sinal);
}

void InstalarSinais() {
  static bool instalados = false;
  if (instalados) return;
  instalados = true;
  for (int sinal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
    struct sigaction acao {};
    acao.sa_handler = AoSinalFatal;
    sigemptyset(&acao.sa_mask);
    sigaction(sinal, &acao, &gAnteriores[sinal]);
  }
}

QString Programa(const QString& nome) {
  const QString caminho = QStandardPaths::findExecutable(nome);
  if (caminho.isEmpty())
    throw Falha(QStringLiteral("Programa %1 não encontrado (scripts/setup instala firebird3.0-utils).").arg(nome));
  return caminho;
}

QString BinarioServidor() {
  const QString caminho = qEnvironmentVariableIsEmpty("PAINEL_FIREBIRD_SERVIDOR")
                              ? QStringLiteral("/usr/sbin/firebird")
                              : qEnvironmentVariable("PAINEL_FIREBIRD_SERVIDOR");
  if (!QFileInfo(caminho).isExecutable())
    throw Falha(QStringLiteral("Servidor Firebird não encontrado em %1 (scripts/setup instala firebird3.0-server).")
                    .arg(caminho));
  return caminho;
}

// A port nobody listens on now: the kernel picks it.
quint16 PortaLivre() {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) throw Falha(QStringLiteral("Sem socket para escolher a porta do servidor."));
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t tamanho = sizeof endereco;
  const bool ok = bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0 &&
                  getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) == 0;
  close(s);
  if (!ok) throw Falha(QStringLiteral("Não foi possível escolher uma porta livre para o servidor."));
  return ntohs(endereco.sin_port);
}

// The test process's environment without anything that would point a child
// at another configuration or log it in by itself, plus the extra entries.
std::vector<QByteArray> Ambiente(const QStringList& extra) {
  QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
  for (const char* nome : {"FIREBIRD", "FIREBIRD_LOCK", "FIREBIRD_TMP", "FIREBIRD_MSG", "ISC_USER", "ISC_PASSWORD"})
    ambiente.remove(QString::fromLatin1(nome));
  for (const QString& entrada : extra) {
    const qsizetype igual = entrada.indexOf(u'=');
    ambiente.insert(entrada.left(igual), entrada.mid(igual + 1));
  }
  std::vector<QByteArray> resultado;
  for (const QString& entrada : ambiente.toStringList()) resultado.push_back(entrada.toLocal8Bit());
  return resultado;
}

// fork and exec with standard input from /dev/null and both outputs into a
// file. Everything is prepared before the fork: the child only calls what is
// safe between fork and exec in a process with threads.
pid_t Lancar(const QString& programa, const QStringList& argumentos, const QStringList& ambienteExtra,
             const QString& arquivoSaida, bool morreComOPai) {
  const QByteArray binario = QFile::encodeName(programa);
  std::vector<QByteArray> args{binario};
  for (const QString& a : argumentos) args.push_back(a.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<QByteArray> env = Ambiente(ambienteExtra);
  std::vector<char*> envp;
  for (QByteArray& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  const int saida = open(QFile::encodeName(arquivoSaida).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const int nulo = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (saida < 0 || nulo < 0) {
    if (saida >= 0) close(saida);
    if (nulo >= 0) close(nulo);
    throw Falha(QStringLiteral("Não foi possível abrir %1.").arg(arquivoSaida));
  }
  const pid_t pai = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
#ifdef __linux__
    // The kernel ends the server with the test process, however that ends.
    if (morreComOPai) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != pai) _exit(127);
    }
#else
    (void)morreComOPai;
    (void)pai;
#endif
    // Its own process group: a Ctrl-C at the terminal reaches the test
    // process, whose handler ends the server.
    setpgid(0, 0);
    sigset_t nenhum;
    sigemptyset(&nenhum);
    sigprocmask(SIG_SETMASK, &nenhum, nullptr);
    for (int sinal : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGCHLD}) signal(sinal, SIG_DFL);
    dup2(nulo, 0);
    dup2(saida, 1);
    dup2(saida, 2);
    // Descriptors of the test process (sockets to servers, the embedded
    // engine's locked database files) must not live on in the child.
    if (close_range(3, ~0U, 0) != 0)
      for (long fd = 3, fim = sysconf(_SC_OPEN_MAX); fd < fim; ++fd) close(int(fd));
    execve(binario.constData(), argv.data(), envp.data());
    _exit(127);
  }
  close(saida);
  close(nulo);
  if (pid < 0) throw Falha(QStringLiteral("fork falhou ao iniciar %1.").arg(programa));
  return pid;
}

// Waits for a child; false when the deadline passed first.
bool Esperar(pid_t pid, const QDeadlineTimer& prazo, int* status) {
  for (;;) {
    const pid_t r = waitpid(pid, status, WNOHANG);
    if (r == pid || (r < 0 && errno == ECHILD)) return true;
    if (prazo.hasExpired()) return false;
    QThread::msleep(10);
  }
}

QString LerArquivo(const QString& caminho, qsizetype maximo = 4000) {
  QFile arquivo(caminho);
  if (!arquivo.open(QIODevice::ReadOnly)) return {};
  const QString texto = QString::fromLocal8Bit(arquivo.readAll());
  return texto.size() > maximo ? texto.right(maximo) : texto;
}

void Gravar(const QString& caminho, const QByteArray& conteudo) {
  QFile arquivo(caminho);
  if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate) || arquivo.write(conteudo) != conteudo.size())
    throw Falha(QStringLiteral("Não foi possível gravar %1.").arg(caminho));
}

// The inodes of the sockets listening on a loopback TCP port.
QList<QByteArray> SocketsEscutando(quint16 porta) {
  QList<QByteArray> inodes;
  QFile tabela(QStringLiteral("/proc/net/tcp"));
  if (!tabela.open(QIODevice::ReadOnly)) return inodes;
  const QByteArray sufixo = ':' + QByteArray::number(porta, 16).toUpper().rightJustified(4, '0');
  tabela.readLine();  // header
  while (!tabela.atEnd()) {
    const QList<QByteArray> campos = tabela.readLine().simplified().split(' ');
    if (campos.size() > 9 && campos[1].endsWith(sufixo) && campos[3] == "0A") inodes.append(campos[9]);
  }
  return inodes;
}

// Folders left by test processes that died without their clean-up (killed,
// crashed): their servers died with them, the folders are of no use.
void RemoverPastasAbandonadas() {
  const QDir temporaria(QDir::tempPath());
  for (const QFileInfo& pasta :
       temporaria.entryInfoList({QStringLiteral("painel-servidor-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (pasta.ownerId() != getuid()) continue;
    bool ok = false;
    const pid_t dono = LerArquivo(QDir(pasta.absoluteFilePath()).filePath(QStringLiteral("dono.pid"))).toInt(&ok);
    if (ok && dono > 0 && kill(dono, 0) != 0 && errno == ESRCH) QDir(pasta.absoluteFilePath()).removeRecursively();
  }
}

}  // namespace

ServidorTeste& ServidorTeste::Instancia() {
  static ServidorTeste servidor;
  return servidor;
}

ServidorTeste::~ServidorTeste() { Parar(); }

QString ServidorTeste::Pasta() const { return FPasta ? FPasta->path() : QString(); }

QString ServidorTeste::CaminhoRemoto(const QString& caminhoLocal) const {
  return QStringLiteral("localhost/%1:%2").arg(FPorta).arg(caminhoLocal);
}

QStringList ServidorTeste::AmbienteServidor() const {
  return {QStringLiteral("FIREBIRD=") + Pasta(), QStringLiteral("FIREBIRD_LOCK=") + Pasta() + QStringLiteral("/lock")};
}

QString ServidorTeste::RodarPrograma(const QString& programa, const QStringList& argumentos,
                                     const QStringList& ambiente) const {
  static int numero = 0;
  const QString arquivo = QDir(FPasta ? Pasta() : QDir::tempPath())
                              .filePath(QStringLiteral("saida-%1-%2.txt").arg(getpid()).arg(++numero));
  const pid_t pid = Lancar(programa, argumentos, ambiente, arquivo, true);
  int status = 0;
  if (!Esperar(pid, QDeadlineTimer(60000), &status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    throw Falha(QStringLiteral("%1 não terminou em 60 s:\n%2").arg(programa, LerArquivo(arquivo)));
  }
  const QString saida = LerArquivo(arquivo, 1 << 20);
  QFile::remove(arquivo);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw Falha(QStringLiteral("%1 %2 terminou com status %3:\n%4")
                    .arg(programa, argumentos.join(u' '))
                    .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status))
                    .arg(saida));
  return saida;
}

void ServidorTeste::PrepararPasta() {
  RemoverPastasAbandonadas();
  auto pasta = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/painel-servidor-XXXXXX"));
  if (!pasta->isValid()) throw Falha(QStringLiteral("Não foi possível criar a pasta do servidor de teste."));
  const QDir destino(pasta->path());
  Gravar(destino.filePath(QStringLiteral("dono.pid")), QByteArray::number(getpid()));

  // The installation's own root, as the client library of this process sees
  // it; the server gets a mirror of it with its own configuration.
  Firebird::IConfigManager* configuracao = Firebird::fb_get_master_interface()->getConfigManager();
  const QDir raiz(QString::fromLocal8Bit(configuracao->getRootDirectory()));
  const QDir intl(QString::fromLocal8Bit(configuracao->getDirectory(Firebird::IConfigManager::DIR_INTL)));
  for (const QFileInfo& item : raiz.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    const QString nome = item.fileName();
    if (nome == QLatin1String("firebird.conf") || nome == QLatin1String("databases.conf") ||
        nome == QLatin1String("intl"))
      continue;
    QFile::link(item.absoluteFilePath(), destino.filePath(nome));
  }
  // The character-set module refuses to load through a link: WIN1252 would
  // be "not installed". Real copies load.
  destino.mkpath(QStringLiteral("intl"));
  for (const QFileInfo& item : intl.entryInfoList(QDir::Files))
    QFile::copy(item.absoluteFilePath(), destino.filePath(QStringLiteral("intl/") + item.fileName()));
  destino.mkpath(QStringLiteral("lock"));
  Gravar(destino.filePath(QStringLiteral("databases.conf")), {});

  FPasta = std::move(pasta);
  FPorta = PortaLivre();
  const QString seguranca = destino.filePath(QStringLiteral("security3.fdb"));
  Gravar(destino.filePath(QStringLiteral("firebird.conf")),
         QStringLiteral("SecurityDatabase = %1\n").arg(seguranca).toLocal8Bit());

  // The security database, made through the embedded engine under this
  // configuration: SYSDBA and the dedicated user with known passwords.
  const QString script = destino.filePath(QStringLiteral("seguranca.sql"));
  Gravar(script, QStringLiteral("CREATE DATABASE '%1';\n"
                                "CREATE USER %2 PASSWORD '%3';\n"
                                "CREATE USER %4 PASSWORD '%5';\n"
                                "COMMIT;\n")
                     .arg(seguranca, UsuarioAdmin(), SenhaAdmin(), Usuario(), Senha())
                     .toLocal8Bit());
  RodarPrograma(Programa(QStringLiteral("isql-fb")),
                {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-user"), UsuarioAdmin(),
                 QStringLiteral("-i"), script},
                AmbienteServidor());
  if (!QFileInfo::exists(seguranca))
    throw Falha(QStringLiteral("isql-fb não criou o banco de segurança %1.").arg(seguranca));
}

bool ServidorTeste::Escutando() const {
  // Listening on the port is not enough: it must be our child's socket, not
  // another program's that took the port meanwhile.
  const QList<QByteArray> inodes = SocketsEscutando(FPorta);
  if (inodes.isEmpty()) return false;
  const QDir descritores(QStringLiteral("/proc/%1/fd").arg(FPid));
  for (const QString& fd : descritores.entryList(QDir::System | QDir::NoDotAndDotDot)) {
    char alvo[128];
    const ssize_t n = readlink(QFile::encodeName(descritores.filePath(fd)).constData(), alvo, sizeof alvo - 1);
    if (n <= 0) continue;
    const QByteArray link(alvo, n);
    for (const QByteArray& inode : inodes)
      if (link == "socket:[" + inode + "]") return true;
  }
  return false;
}

QString ServidorTeste::SaidaServidor() const {
  return LerArquivo(QDir(Pasta()).filePath(QStringLiteral("servidor.txt")));
}

void ServidorTeste::Iniciar() {
  if (FPid > 0) {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == 0) return;
    FPid = 0;  // it ended by itself; start it again
    gPidServidor = 0;
  }
  if (!FFalhaPrimeiroInicio.isEmpty()) throw Falha(FFalhaPrimeiroInicio);
  const bool primeiraVez = !FPasta;
  try {
    IniciarProcesso(primeiraVez);
  } catch (const Falha& f) {
    if (primeiraVez) FFalhaPrimeiroInicio = f.Mensagem();
    throw;
  }
}

void ServidorTeste::IniciarProcesso(bool primeiraVez) {
  const QString binario = BinarioServidor();
  if (primeiraVez) PrepararPasta();
  InstalarSinais();
  const QDir pasta(Pasta());
  QString motivo;
  for (int tentativa = 0; tentativa < 3; ++tentativa) {
    // The lock tables of a killed server are of no use to the next one.
    QDir(pasta.filePath(QStringLiteral("lock"))).removeRecursively();
    pasta.mkpath(QStringLiteral("lock"));
    Gravar(pasta.filePath(QStringLiteral("firebird.conf")),
           QStringLiteral("RemoteServicePort = %1\n"
                          "RemoteBindAddress = 127.0.0.1\n"
                          "SecurityDatabase = %2\n")
               .arg(FPorta)
               .arg(pasta.filePath(QStringLiteral("security3.fdb")))
               .toLocal8Bit());
    FPid = Lancar(binario, {}, AmbienteServidor(), pasta.filePath(QStringLiteral("servidor.txt")), true);
    gPidServidor = FPid;
    const QDeadlineTimer prazo(20000);
    int status = 0;
    while (!prazo.hasExpired()) {
      if (waitpid(FPid, &status, WNOHANG) == FPid) {
        motivo = QStringLiteral("o servidor terminou com status %1")
                     .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
        FPid = 0;
        break;
      }
      if (Escutando()) return;
      QThread::msleep(10);
    }
    if (FPid > 0) {
      // A server whose port is taken waits for it instead of ending.
      motivo = QStringLiteral("o servidor não escutou na porta %1 em 20 s").arg(FPorta);
      kill(FPid, SIGKILL);
      waitpid(FPid, &status, 0);
      FPid = 0;
    }
    gPidServidor = 0;
    // A restart keeps its port: the tests' connections name it.
    if (primeiraVez) FPorta = PortaLivre();
  }
  throw Falha(QStringLiteral("Não foi possível iniciar o servidor Firebird de teste (%1): %2.\n%3")
                  .arg(binario, motivo, SaidaServidor()));
}

void ServidorTeste::Parar() {
  if (FPid <= 0) return;
  int status = 0;
  kill(FPid, SIGTERM);
  kill(FPid, SIGCONT);  // a frozen server would hold the signal
  // Its orderly stop sometimes lingers for many seconds after lock waits;
  // the databases are throwaway, so a short grace is enough.
  if (!Esperar(FPid, QDeadlineTimer(1000), &status)) {
    kill(FPid, SIGKILL);
    waitpid(FPid, &status, 0);
  }
  FPid = 0;
  gPidServidor = 0;
}

void ServidorTeste::Matar() {
  if (FPid <= 0) return;
  int status = 0;
  kill(FPid, SIGKILL);
  waitpid(FPid, &status, 0);
  FPid = 0;
  gPidServidor = 0;
}

void ServidorTeste::Congelar() {
  if (FPid > 0) kill(FPid, SIGSTOP);
}

void ServidorTeste::Descongelar() {
  if (FPid > 0) kill(FPid, SIGCONT);
}

void ServidorTeste::Configurar(ConexaoBanco& conexao, const QString& caminhoLocal, const QString& usuario,
                               const QString& senha) const {
  conexao.SetParam(QStringLiteral("Database"), CaminhoRemoto(caminhoLocal));
  conexao.SetParam(QStringLiteral("User_Name"), usuario);
  conexao.SetParam(QStringLiteral("Password"), senha);
}

void ServidorTeste::Servir(BancoTeste& banco) {
  Iniciar();
  ConexaoBanco& conexao = banco.Conexao();
  conexao.Fechar();  // an embedded attachment would keep the server out of the file
  Configurar(conexao, banco.Caminho(), UsuarioAdmin(), SenhaAdmin());
  ConsultaSql tabelas(&conexao);
  tabelas.SetSql(QStringLiteral(
      "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
  tabelas.Abrir();
  for (int i = 0; i < tabelas.QtdLinhas(); ++i)
    banco.Executar(QStringLiteral("GRANT ALL ON %1 TO %2").arg(tabelas.Valor(i, 0).AsString(), Usuario()));
}

QString ServidorTeste::Gfix(const QString& caminhoLocal, const QStringList& argumentos) {
  return RodarPrograma(Programa(QStringLiteral("gfix")), argumentos + QStringList{CaminhoRemoto(caminhoLocal)},
                       {QStringLiteral("ISC_USER=") + UsuarioAdmin(), QStringLiteral("ISC_PASSWORD=") + SenhaAdmin()});
}

void ServidorTeste::DesligarBanco(const QString& caminhoLocal) {
  Gfix(caminhoLocal, {QStringLiteral("-shut"), QStringLiteral("full"), QStringLiteral("-force"), QStringLiteral("0")});
}

void ServidorTeste::ReligarBanco(const QString& caminhoLocal) {
  Gfix(caminhoLocal, {QStringLiteral("-online"), QStringLiteral("normal")});
}
