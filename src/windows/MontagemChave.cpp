#include "MontagemChave.h"

#include "platform/ConsultaSql.h"
#include "platform/ValorCampo.h"

TChvPrimaria BuscarChavePrimaria(const QString& tabela, ConsultaSql& consulta) {
  consulta.Fechar();
  consulta.SetParam(QStringLiteral("TABELA"), tabela);
  consulta.Abrir();
  TChvPrimaria nomes;
  nomes.reserve(consulta.QtdLinhas());
  for (int linha = 0; linha < consulta.QtdLinhas(); ++linha)
    nomes << consulta.Valor(linha, 0).AsString().trimmed();
  return nomes;
}

QString MontagemChave::Montar(const QString& tabela, const std::vector<const ValorCampo*>& valores) {
  auto achado = FCache.constFind(tabela);
  if (achado == FCache.constEnd()) achado = FCache.insert(tabela, BuscarChavePrimaria(tabela, FConsulta));
  const TChvPrimaria& nomes = *achado;
  QString chave;
  const int quantos = std::min<int>(nomes.size(), std::min<int>(kMaximoChaves, static_cast<int>(valores.size())));
  for (int i = 0; i < quantos; ++i) {
    chave += nomes[i];
    chave += u'=';
    if (valores[i] && !valores[i]->EhNulo()) chave += valores[i]->AsString();
    chave += u';';
  }
  return chave.left(kTamanhoChave);
}
