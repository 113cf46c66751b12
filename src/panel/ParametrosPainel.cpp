#include "panel/ParametrosPainel.h"

#include "model/Catalogo.h"
#include "platform/ConexaoBanco.h"
#include "platform/ConsultaSql.h"
#include "platform/ConversaoInteiro.h"

namespace ParametrosPainel {

namespace {
// Set by main before any window exists and only read afterwards, on the
// user-interface thread.
bool gContagemRapida = false;
}  // namespace

void DefinirContagemRapida(bool ligada) { gContagemRapida = ligada; }

bool ContagemRapida() { return gContagemRapida; }

QString IntervaloInicial(ConexaoBanco& conexao) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(Catalogo::IntervaloPainel());
  consulta.Abrir();
  if (consulta.Vazia()) return QStringLiteral("15");
  const qint64 segundos = consulta.Valor(0, QStringLiteral("CAMPOINTEGER")).AsInteger();
  if (segundos < 1) return QStringLiteral("15");
  if (segundos > 99) return QStringLiteral("99");
  return QString::number(segundos);
}

bool MostraColunaMaquina(ConexaoBanco& conexao) {
  ConsultaSql consulta(&conexao);
  consulta.SetSql(Catalogo::UsaWebService());
  consulta.Abrir();
  if (consulta.Vazia()) return false;
  return consulta.Valor(0, QStringLiteral("UTILIZAINTEGWEBSERVICE")).AsString() == QLatin1String("S");
}

quint32 Periodo(const QString& texto) {
  // The product is taken modulo 2^32, as the platform's 32-bit arithmetic does.
  return static_cast<quint32>(ConversaoInteiro::StrToInt(texto)) * 1000u;
}

}  // namespace ParametrosPainel
