#include "panel/SaidaStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include "panel/ColunaGrid.h"
#include "panel/FormatoDataHora.h"
#include "panel/TabelaStatus.h"

namespace {

QList<CampoStatus> Campos() {
  QList<CampoStatus> campos;
  for (int i = 0; i < LinhaStatus::kQtdCampos; ++i) campos << static_cast<CampoStatus>(i);
  return campos;
}

// A terminal must not act on control characters a name may hold (the C1
// block comes from the undefined bytes of the code page).
QString Imprimivel(const QString& texto) {
  QString saida = texto;
  for (QChar& c : saida)
    if (!c.isPrint()) c = u'?';
  return saida;
}

QString Alinhado(const QString& texto, int largura, Qt::Alignment alinhamento) {
  const int falta = largura - static_cast<int>(texto.size());
  if (falta <= 0) return texto;
  if (alinhamento & Qt::AlignRight) return QString(falta, u' ') + texto;
  if (alinhamento & Qt::AlignHCenter) return QString(falta / 2, u' ') + texto + QString(falta - falta / 2, u' ');
  return texto + QString(falta, u' ');
}

QString CampoCsv(const QString& texto) {
  if (!texto.contains(u'"') && !texto.contains(u',') && !texto.contains(u'\r') && !texto.contains(u'\n'))
    return texto;
  QString citado = texto;
  citado.replace(u'"', QStringLiteral("\"\""));
  return u'"' + citado + u'"';
}

QString ValorCsv(const LinhaStatus& linha, CampoStatus campo) {
  if (LinhaStatus::EhTexto(campo)) return linha.Texto(campo);
  if (LinhaStatus::EhData(campo)) return FormatoDataHora::Iso(linha.DataHora(campo));
  return QString::number(linha.Inteiro(campo));
}

QString Rotulo(const QString& valor) {
  QString escapado;
  for (const QChar c : valor) {
    if (c == u'\\') escapado += QStringLiteral("\\\\");
    else if (c == u'"') escapado += QStringLiteral("\\\"");
    else if (c == u'\n') escapado += QStringLiteral("\\n");
    else escapado += c;
  }
  return u'"' + escapado + u'"';
}

QJsonValue ValorDoCampo(const LinhaStatus& linha, CampoStatus campo) {
  if (LinhaStatus::EhTexto(campo)) return linha.Texto(campo);
  if (LinhaStatus::EhData(campo)) {
    const QDateTime valor = linha.DataHora(campo);
    return valor.isValid() ? QJsonValue(FormatoDataHora::Iso(valor)) : QJsonValue();
  }
  return linha.Inteiro(campo);
}

QByteArray ValorJson(const QJsonValue& valor) {
  const QByteArray lista = QJsonDocument(QJsonArray{valor}).toJson(QJsonDocument::Compact);
  return lista.mid(1, lista.size() - 2);
}

struct Metrica {
  const char* Nome;
  const char* Ajuda;
  CampoStatus Campo;
};

}  // namespace

namespace SaidaStatus {

bool FormatoPorNome(const QString& nome, Formato& formato) {
  if (nome == QLatin1String("table")) formato = Formato::Tabela;
  else if (nome == QLatin1String("csv")) formato = Formato::Csv;
  else if (nome == QLatin1String("json")) formato = Formato::Json;
  else if (nome == QLatin1String("prometheus")) formato = Formato::Prometheus;
  else return false;
  return true;
}

QByteArray Escrever(Formato formato, const std::vector<LinhaStatus>& linhas) {
  switch (formato) {
    case Formato::Tabela: return Tabela(linhas);
    case Formato::Csv: return Csv(linhas);
    case Formato::Json: return Json(linhas);
    case Formato::Prometheus: return Prometheus(linhas);
  }
  return {};
}

QByteArray Tabela(const std::vector<LinhaStatus>& linhas) {
  const auto& colunas = ColunaGrid::Todas();
  QList<QStringList> celulas;
  QList<int> larguras;
  for (const ColunaGrid& coluna : colunas) larguras << static_cast<int>(coluna.Titulo.size());
  for (const LinhaStatus& linha : linhas) {
    QStringList textos;
    for (int c = 0; c < colunas.size(); ++c) {
      textos << Imprimivel(TabelaStatus::TextoCelula(linha, colunas[c].Campo));
      larguras[c] = std::max(larguras[c], static_cast<int>(textos.last().size()));
    }
    celulas << textos;
  }
  auto escreverLinha = [&](const QStringList& textos, bool titulos) {
    QStringList partes;
    for (int c = 0; c < colunas.size(); ++c)
      partes << Alinhado(textos[c], larguras[c], titulos ? Qt::AlignLeft : colunas[c].Alinhamento);
    QString texto = partes.join(QStringLiteral("  "));
    while (texto.endsWith(u' ')) texto.chop(1);
    return texto + u'\n';
  };
  QStringList titulos;
  QStringList tracos;
  for (int c = 0; c < colunas.size(); ++c) {
    titulos << colunas[c].Titulo;
    tracos << QString(larguras[c], u'-');
  }
  QString saida = escreverLinha(titulos, true) + escreverLinha(tracos, true);
  for (const QStringList& textos : celulas) saida += escreverLinha(textos, false);
  return saida.toUtf8();
}

QByteArray Csv(const std::vector<LinhaStatus>& linhas) {
  const QList<CampoStatus> campos = Campos();
  QStringList cabecalho;
  for (CampoStatus campo : campos) cabecalho << LinhaStatus::NomeCampo(campo);
  QString saida = cabecalho.join(u',') + QStringLiteral("\r\n");
  for (const LinhaStatus& linha : linhas) {
    QStringList valores;
    for (CampoStatus campo : campos) valores << CampoCsv(ValorCsv(linha, campo));
    saida += valores.join(u',') + QStringLiteral("\r\n");
  }
  return saida.toUtf8();
}

QByteArray Json(const std::vector<LinhaStatus>& linhas) {
  // Written by hand so that the fields keep the table's order (QJsonObject
  // sorts its keys); every value goes through Qt's JSON writer.
  QByteArray saida = "[";
  bool primeiraLinha = true;
  for (const LinhaStatus& linha : linhas) {
    saida += primeiraLinha ? "\n  {" : ",\n  {";
    primeiraLinha = false;
    bool primeiroCampo = true;
    for (CampoStatus campo : Campos()) {
      saida += primeiroCampo ? "" : ", ";
      primeiroCampo = false;
      saida += ValorJson(LinhaStatus::NomeCampo(campo)) + ": " + ValorJson(ValorDoCampo(linha, campo));
    }
    saida += "}";
  }
  saida += primeiraLinha ? "]\n" : "\n]\n";
  return saida;
}

QByteArray Prometheus(const std::vector<LinhaStatus>& linhas) {
  static const Metrica kMetricas[] = {
      {"painel_integracao_registros_a_receber", "Registros que a maquina ainda tem a receber.",
       CampoStatus::QTDREGRECEB},
      {"painel_integracao_registros_a_enviar", "Registros ainda a enviar para a maquina.", CampoStatus::QTDREGENVIAR},
      {"painel_integracao_registros_na_fila", "Entradas da fila da maquina pendentes ou com erro.",
       CampoStatus::QTDREGFILA},
      {"painel_integracao_ultimo_recebimento_timestamp_seconds", "Ultimo recebimento da maquina, em segundos desde 1970 (hora do banco lida como local).",
       CampoStatus::ULTRECEB},
      {"painel_integracao_ultimo_envio_timestamp_seconds", "Ultimo envio da maquina, em segundos desde 1970 (hora do banco lida como local).",
       CampoStatus::ULTENVIO},
      {"painel_integracao_erros_nao_conferidos", "1 quando a maquina tem erros de integracao nao conferidos.",
       CampoStatus::STATUSERRO},
  };

  // Two rows can carry the same branch and machine (identifiers are cut to
  // four characters); a repeated series would make the whole page invalid,
  // so the repetitions are numbered.
  QStringList rotulos;
  QSet<QString> vistos;
  for (const LinhaStatus& linha : linhas) {
    const QString base =
        QStringLiteral("filial=%1,maquina=%2").arg(Rotulo(linha.CODEMPRESA), Rotulo(linha.MAQUINAECF));
    QString rotulo = base;
    for (int n = 2; vistos.contains(rotulo); ++n) rotulo = base + QStringLiteral(",repeticao=\"%1\"").arg(n);
    vistos.insert(rotulo);
    rotulos << u'{' + rotulo + u'}';
  }

  QByteArray saida;
  saida += "# HELP painel_integracao_maquinas Linhas de status (filial e maquina).\n"
           "# TYPE painel_integracao_maquinas gauge\n";
  saida += "painel_integracao_maquinas " + QByteArray::number(qulonglong(linhas.size())) + "\n";
  for (const Metrica& metrica : kMetricas) {
    saida += QByteArray("# HELP ") + metrica.Nome + ' ' + metrica.Ajuda + "\n";
    saida += QByteArray("# TYPE ") + metrica.Nome + " gauge\n";
    for (std::size_t i = 0; i < linhas.size(); ++i) {
      const LinhaStatus& linha = linhas[i];
      QByteArray valor;
      if (metrica.Campo == CampoStatus::STATUSERRO) {
        valor = linha.STATUSERRO == QLatin1String("Sim") ? "1" : "0";
      } else if (LinhaStatus::EhData(metrica.Campo)) {
        const QDateTime data = linha.DataHora(metrica.Campo);
        if (!data.isValid()) continue;  // an absent date has no sample
        valor = QByteArray::number(data.toSecsSinceEpoch());
      } else {
        valor = QByteArray::number(linha.Inteiro(metrica.Campo));
      }
      saida += metrica.Nome + rotulos[static_cast<qsizetype>(i)].toUtf8() + ' ' + valor + "\n";
    }
  }
  return saida;
}

}  // namespace SaidaStatus
