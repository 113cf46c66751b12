#include "BloqueioConcorrente.h"

#include <QDeadlineTimer>
#include <QThread>

#include "ServidorTeste.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

BloqueioConcorrente::BloqueioConcorrente(const QString& caminhoLocal, const QString& alteracao,
                                         const QString& tabela, Desfecho desfecho) {
  std::future<void> segurando = FSegurando.get_future();
  FLinha = std::thread([=, this] { Executar(caminhoLocal, alteracao, tabela, desfecho); });
  try {
    segurando.get();
  } catch (...) {
    FLinha.join();
    throw;
  }
}

BloqueioConcorrente::~BloqueioConcorrente() { Terminar(); }

void BloqueioConcorrente::Terminar() {
  if (FLinha.joinable()) FLinha.join();
}

void BloqueioConcorrente::Executar(const QString& caminhoLocal, const QString& alteracao, const QString& tabela,
                                   Desfecho desfecho) {
  bool segurando = false;
  try {
    const ServidorTeste& servidor = ServidorTeste::Instancia();
    ConexaoBanco dono;
    servidor.Configurar(dono, caminhoLocal, ServidorTeste::UsuarioAdmin(), ServidorTeste::SenhaAdmin());
    ConsultaSql identidade(&dono);
    identidade.SetSql(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"));
    identidade.Abrir();
    const QString idDono = identidade.Valor(0, 0).AsString();

    dono.IniciarTransacao();
    ConsultaSql mudanca(&dono);
    mudanca.SetSql(alteracao);
    if (mudanca.Executar() == 0) throw Falha(QStringLiteral("A alteração concorrente não encontrou linha: ") + alteracao);
    segurando = true;
    FSegurando.set_value();

    // Monitoring tables are a snapshot per transaction: a connection of its
    // own, one short transaction per look.
    ConexaoBanco monitor;
    servidor.Configurar(monitor, caminhoLocal, ServidorTeste::UsuarioAdmin(), ServidorTeste::SenhaAdmin());
    ConsultaSql espera(&monitor);
    espera.SetSql(QStringLiteral(
        "SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$STATE = 1 AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
        "AND MON$ATTACHMENT_ID <> :DONO AND MON$SQL_TEXT CONTAINING :TABELA"));
    espera.SetParam(QStringLiteral("DONO"), idDono);
    espera.SetParam(QStringLiteral("TABELA"), tabela);
    const QDeadlineTimer prazo(60000);
    while (!prazo.hasExpired()) {
      espera.Abrir();
      if (espera.Valor(0, 0).AsInteger() > 0) {
        FEsperaVista = true;
        break;
      }
      QThread::msleep(10);
    }
    if (desfecho == Desfecho::Confirmar)
      dono.ConfirmarTransacao();
    else
      dono.CancelarTransacao();
  } catch (const Falha& f) {
    FErro = f.Mensagem();
    if (!segurando) FSegurando.set_exception(std::current_exception());
  } catch (...) {
    FErro = QStringLiteral("falha desconhecida");
    if (!segurando) FSegurando.set_exception(std::current_exception());
  }
}
