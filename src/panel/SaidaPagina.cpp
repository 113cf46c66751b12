#include "panel/SaidaPagina.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/RegrasHistorico.h"
#include "panel/TabelaStatus.h"
#include "panel/VerificacaoStatus.h"

namespace {

QJsonValue Opcional(const QString& texto) { return texto.isEmpty() ? QJsonValue() : QJsonValue(texto); }

QJsonValue DataIso(quint32 segundos) {
  return segundos == 0 ? QJsonValue() : QJsonValue(FormatoDataHora::Iso(QDateTime::fromSecsSinceEpoch(segundos)));
}

QString NomeCampo(CampoStatus campo) { return LinhaStatus::NomeCampo(campo); }

QJsonArray Colunas(bool mostrarMaquina) {
  QJsonArray colunas;
  for (const ColunaGrid& coluna : ColunaGrid::Todas()) {
    if (coluna.Campo == CampoStatus::MAQUINAECF && !mostrarMaquina) continue;
    const QString tipo = LinhaStatus::EhTexto(coluna.Campo)  ? QStringLiteral("texto")
                         : LinhaStatus::EhData(coluna.Campo) ? QStringLiteral("data")
                                                             : QStringLiteral("numero");
    const QString alinhamento = coluna.Alinhamento & Qt::AlignRight     ? QStringLiteral("direita")
                                : coluna.Alinhamento & Qt::AlignHCenter ? QStringLiteral("centro")
                                                                        : QStringLiteral("esquerda");
    colunas.append(QJsonObject{{QStringLiteral("titulo"), coluna.Titulo},
                               {QStringLiteral("campo"), NomeCampo(coluna.Campo)},
                               {QStringLiteral("tipo"), tipo},
                               {QStringLiteral("alinhamento"), alinhamento}});
  }
  return colunas;
}

QJsonObject Linha(const LinhaStatus& linha, const SaidaPagina::Estado& estado, const HistoricoStatus& historico,
                  const QDateTime& agora) {
  QJsonObject valores, textos;
  for (int i = 0; i < LinhaStatus::kQtdCampos; ++i) {
    const auto campo = static_cast<CampoStatus>(i);
    if (LinhaStatus::EhTexto(campo)) valores[NomeCampo(campo)] = linha.Texto(campo);
    else if (LinhaStatus::EhData(campo)) valores[NomeCampo(campo)] = Opcional(FormatoDataHora::Iso(linha.DataHora(campo)));
    else valores[NomeCampo(campo)] = linha.Inteiro(campo);
    textos[NomeCampo(campo)] = TabelaStatus::TextoCelula(linha, campo);
  }
  QJsonObject idades, dicas;
  for (const CampoStatus campo : {CampoStatus::ULTRECEB, CampoStatus::ULTENVIO})
    idades[NomeCampo(campo)] = RegrasHistorico::Idade(linha.DataHora(campo), agora);

  QJsonObject objeto{{QStringLiteral("valores"), valores},
                     {QStringLiteral("textos"), textos},
                     {QStringLiteral("idades"), idades},
                     {QStringLiteral("erro"), linha.STATUSERRO == QLatin1String("Sim")},
                     {QStringLiteral("atrasada"), VerificacaoStatus::Atrasada(linha, estado.IdadeMaximaMinutos, agora)},
                     {QStringLiteral("previsao"), QStringLiteral("sem dados")},
                     {QStringLiteral("grafico"), QJsonArray()}};
  historico.Ler(linha.CODEMPRESA, linha.MAQUINAECF, [&](const HistoricoMaquina& maquina) {
    const std::pair<CampoStatus, RegrasHistorico::Contagem> contagens[] = {
        {CampoStatus::QTDREGRECEB, RegrasHistorico::Contagem::Receber},
        {CampoStatus::QTDREGENVIAR, RegrasHistorico::Contagem::Enviar},
        {CampoStatus::QTDREGFILA, RegrasHistorico::Contagem::Fila}};
    for (const auto& [campo, contagem] : contagens) {
      const auto tendencia = RegrasHistorico::TendenciaDe(maquina, contagem, agora);
      dicas[NomeCampo(campo)] = RegrasHistorico::TextoTendencia(tendencia) + QStringLiteral("\nPrevisão: ") +
                                RegrasHistorico::Previsao(tendencia);
    }
    objeto[QStringLiteral("previsao")] = RegrasHistorico::PrevisaoMaquina(maquina, agora);
    QJsonArray grafico;
    for (const auto& [minuto, pendencias] : RegrasHistorico::Grafico(maquina, SaidaPagina::kPontosGrafico))
      grafico.append(QJsonArray{qint64(minuto) * HistoricoMaquina::kSegundosPorPonto, pendencias});
    objeto[QStringLiteral("grafico")] = grafico;
  });
  objeto[QStringLiteral("dicas")] = dicas;
  return objeto;
}

}  // namespace

namespace SaidaPagina {

QByteArray Painel(const Estado& estado, const HistoricoStatus& historico, const QDateTime& agora) {
  QJsonArray linhas;
  for (const LinhaStatus& linha : estado.Linhas) linhas.append(Linha(linha, estado, historico, agora));
  const QJsonObject painel{
      {QStringLiteral("agora"), FormatoDataHora::Iso(agora)},
      {QStringLiteral("lidas_em"), estado.LidasEm.isValid() ? QJsonValue(FormatoDataHora::Carimbo(estado.LidasEm))
                                                            : QJsonValue()},
      {QStringLiteral("banco_inacessivel_desde"), estado.InacessivelDesde.isValid()
                                                      ? QJsonValue(FormatoDataHora::Carimbo(estado.InacessivelDesde))
                                                      : QJsonValue()},
      {QStringLiteral("erro"), Opcional(estado.Erro)},
      {QStringLiteral("idade_maxima_minutos"), estado.IdadeMaximaMinutos},
      {QStringLiteral("atualizar_segundos"), estado.AtualizarSegundos},
      {QStringLiteral("colunas"), Colunas(estado.MostrarMaquina)},
      {QStringLiteral("linhas"), linhas}};
  return QJsonDocument(painel).toJson(QJsonDocument::Compact);
}

bool Historico(const HistoricoStatus& historico, const QString& filial, const QString& maquina, QByteArray& json) {
  QJsonArray pontos;
  const bool conhecida = historico.Ler(filial, maquina, [&](const HistoricoMaquina& h) {
    for (int i = 0; i < h.QtdPontos(); ++i) {
      const PontoHistorico& ponto = h.Ponto(i);
      pontos.append(QJsonObject{
          {QStringLiteral("instante"),
           FormatoDataHora::Iso(QDateTime::fromSecsSinceEpoch(qint64(ponto.Minuto) * HistoricoMaquina::kSegundosPorPonto))},
          {QStringLiteral("QTDREGRECEB"), ponto.Receber},
          {QStringLiteral("QTDREGENVIAR"), ponto.Enviar},
          {QStringLiteral("QTDREGFILA"), ponto.Fila},
          {QStringLiteral("STATUSERRO"), ponto.Erro ? QStringLiteral("Sim") : QStringLiteral("Não")},
          {QStringLiteral("ULTRECEB"), DataIso(ponto.UltReceb)},
          {QStringLiteral("ULTENVIO"), DataIso(ponto.UltEnvio)}});
    }
  });
  if (!conhecida) return false;
  json = QJsonDocument(QJsonObject{{QStringLiteral("filial"), filial},
                                   {QStringLiteral("maquina"), maquina},
                                   {QStringLiteral("resolucao_segundos"), HistoricoMaquina::kSegundosPorPonto},
                                   {QStringLiteral("pontos"), pontos}})
             .toJson(QJsonDocument::Compact);
  return true;
}

}  // namespace SaidaPagina
