#include "Insercao.h"

Insercao::Insercao(ConexaoBanco& conexao, const QString& tabela, const QStringList& colunas) : FConsulta(&conexao) {
  QStringList nomes;
  for (int i = 0; i < colunas.size(); ++i) nomes << QStringLiteral(":P%1").arg(i);
  FConsulta.SetSql(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(tabela, colunas.join(QStringLiteral(", ")), nomes.join(QStringLiteral(", "))));
  FQtd = int(colunas.size());
}

void Insercao::Executar(const QStringList& valores) {
  for (int i = 0; i < FQtd; ++i) {
    const QString nome = QStringLiteral("P%1").arg(i);
    const QString valor = valores.value(i);
    if (valor.isNull()) FConsulta.SetParamNulo(nome);
    else FConsulta.SetParam(nome, valor);
  }
  FConsulta.Executar();
}
