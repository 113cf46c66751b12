#include "servico/SaidaServico.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include "panel/SaidaStatus.h"
#include "servico/FotoStatus.h"

namespace {

QByteArray ValorJson(const QJsonValue& valor) {
  const QByteArray lista = QJsonDocument(QJsonArray{valor}).toJson(QJsonDocument::Compact);
  return lista.mid(1, lista.size() - 2);
}

QByteArray Metrica(const char* nome, const char* tipo, const char* ajuda, const QByteArray& valor) {
  return QByteArray("# HELP ") + nome + ' ' + ajuda + "\n# TYPE " + nome + ' ' + tipo + '\n' + nome + ' ' + valor +
         '\n';
}

QByteArray Segundos(double valor) { return QByteArray::number(valor, 'f', 3); }

}  // namespace

namespace SaidaServico {

QByteArray Metricas(const FotoStatus& foto) {
  QByteArray saida;
  if (foto.LinhasLidas) saida = SaidaStatus::Prometheus(*foto.Linhas);
  saida += Metrica("painel_integracao_atualizacoes_total", "counter",
                   "Atualizacoes concluidas pelo servico desde o inicio.", QByteArray::number(foto.Atualizacoes));
  saida += Metrica("painel_integracao_atualizacao_falhas_total", "counter",
                   "Atualizacoes que falharam desde o inicio.", QByteArray::number(foto.Falhas));
  saida += Metrica("painel_integracao_atualizacao_duracao_segundos", "gauge",
                   "Duracao da ultima atualizacao, concluida ou nao.", Segundos(foto.DuracaoSegundos));
  // Before the first good refresh there is no time to give: no sample.
  if (foto.LidasEm.isValid())
    saida += Metrica("painel_integracao_ultima_atualizacao_timestamp_seconds", "gauge",
                     "Hora da ultima atualizacao concluida, em segundos desde 1970.",
                     QByteArray::number(foto.LidasEm.toSecsSinceEpoch()));
  saida += Metrica("painel_integracao_banco_acessivel", "gauge", "1 quando a ultima atualizacao leu o banco.",
                   foto.BancoAcessivel ? "1" : "0");
  return saida;
}

QByteArray StatusJson(const FotoStatus& foto) {
  QByteArray linhas = foto.LinhasLidas ? SaidaStatus::Json(*foto.Linhas) : QByteArray("[]\n");
  linhas.chop(1);  // the final line break of the command's output
  const QJsonValue lidas =
      foto.LidasEm.isValid() ? QJsonValue(foto.LidasEm.toString(Qt::ISODate)) : QJsonValue();
  const QJsonValue erro = foto.UltimoErro.isEmpty() ? QJsonValue() : QJsonValue(foto.UltimoErro);
  return "{\"lidas_em\": " + ValorJson(lidas) + ", \"duracao_segundos\": " + Segundos(foto.DuracaoSegundos) +
         ", \"banco_acessivel\": " + (foto.BancoAcessivel ? "true" : "false") + ", \"ultimo_erro\": " +
         ValorJson(erro) + ",\n\"linhas\": " + linhas + "}\n";
}

QByteArray Saude(const FotoStatus& foto) {
  if (foto.BancoAcessivel) return "ok\n";
  return (foto.UltimoErro.isEmpty() ? QStringLiteral("Primeira leitura do banco em andamento.") : foto.UltimoErro)
             .toUtf8() +
         '\n';
}

}  // namespace SaidaServico
