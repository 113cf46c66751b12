#include "panel/ReprocessamentoErros.h"

#include "platform/Dialogos.h"
#include "model/Catalogo.h"
#include "platform/ConsultaSql.h"
#include "platform/Falha.h"

// A lone carriage return between the two sentences, as the box has always
// shown it.
const QString ReprocessamentoErros::kConfirmacao = QStringLiteral(
    "Esta ação irá reverter os registros processados com erros pela Fila em registros pendentes, para que sejam "
    "executados novamente. \rDeseja continuar?");
const QString ReprocessamentoErros::kSucesso = QStringLiteral("Registros atualizados com sucesso.");
const QString ReprocessamentoErros::kPrefixoFalha = QStringLiteral("Não foi possível atualizar os registros: ");

bool ReprocessamentoErros::Executar(ConexaoBanco& conexao) {
  if (!Dialogos::Confirmar(kConfirmacao)) return false;
  bool falhou = false;
  QString motivo;
  try {
    // Released on every path with the scope.
    ConsultaSql consulta(&conexao);
    consulta.SetSql(Catalogo::ReprocessarErros());
    consulta.Executar();
  } catch (const Falha& falha) {
    falhou = true;
    motivo = falha.Mensagem();
  } catch (const std::exception& falha) {
    falhou = true;
    motivo = QString::fromLocal8Bit(falha.what());
  }
  // The box opens with the query already released.
  if (falhou) {
    Dialogos::Alerta(kPrefixoFalha + motivo);
    return false;
  }
  Dialogos::Informacao(kSucesso);
  return true;
}
