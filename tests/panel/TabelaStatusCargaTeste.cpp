#include <gtest/gtest.h>

#include "panel/ColunaGrid.h"
#include "panel/TabelaStatus.h"

namespace {

QStringList Maquinas(const TabelaStatus& tabela) {
  QStringList nomes;
  for (int i = 0; i < tabela.rowCount(); ++i) nomes << tabela.LinhaExibida(i).MAQUINAECF;
  return nomes;
}

int Acrescentar(TabelaStatus& tabela, const char* maquina, qint32 fila) {
  const int linha = tabela.Acrescentar();
  tabela.SetTexto(linha, CampoStatus::MAQUINAECF, QString::fromLatin1(maquina));
  tabela.SetInteiro(linha, CampoStatus::QTDREGFILA, fila);
  return linha;
}

// A load is one reset for the grid: rows added and filled silently, then
// sorted once by the order in force, ties in the order of adding.
TEST(TabelaStatusCarga, UmaRedefinicaoOrdemAplicadaUmaVezEEmpatesNaOrdemDeInclusao) {
  TabelaStatus tabela;
  int antes = 0, depois = 0, outros = 0, linhasNoFim = -1;
  QObject::connect(&tabela, &QAbstractItemModel::modelAboutToBeReset, [&] { ++antes; });
  QObject::connect(&tabela, &QAbstractItemModel::modelReset, [&] {
    ++depois;
    linhasNoFim = tabela.rowCount();
  });
  QObject::connect(&tabela, &QAbstractItemModel::rowsInserted, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::rowsMoved, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::dataChanged, [&] { ++outros; });
  QObject::connect(&tabela, &QAbstractItemModel::layoutChanged, [&] { ++outros; });

  tabela.Ordenar({CampoStatus::QTDREGFILA});
  outros = 0;
  tabela.IniciarCarga();
  tabela.IniciarCarga();  // already loading: nothing more
  EXPECT_TRUE(tabela.EmCarga());
  Acrescentar(tabela, "A", 3);
  Acrescentar(tabela, "B", 1);
  Acrescentar(tabela, "C", 3);
  tabela.Esvaziar();  // a load that starts again empties silently
  Acrescentar(tabela, "D", 3);
  Acrescentar(tabela, "E", 1);
  const int f = Acrescentar(tabela, "F", 3);
  tabela.SetInteiro(f, CampoStatus::QTDREGFILA, 0);
  Acrescentar(tabela, "G", 1);
  // The order changes while loading: applied at the end, with no layout signal.
  tabela.Ordenar({CampoStatus::QTDREGFILA, CampoStatus::MAQUINAECF});
  EXPECT_EQ(antes, 1);
  EXPECT_EQ(depois, 0) << "the grid hears nothing until the load ends";
  tabela.ConcluirCarga();
  tabela.ConcluirCarga();  // not loading any more: nothing
  EXPECT_FALSE(tabela.EmCarga());

  EXPECT_EQ(antes, 1);
  EXPECT_EQ(depois, 1);
  EXPECT_EQ(outros, 0);
  EXPECT_EQ(linhasNoFim, 4);
  EXPECT_EQ(Maquinas(tabela), QStringList({"F", "E", "G", "D"}));
  // Rows in the order of adding are untouched by the sort.
  EXPECT_EQ(tabela.Linha(0).MAQUINAECF, QStringLiteral("D"));
  EXPECT_EQ(tabela.data(tabela.index(0, ColunaGrid::IndiceDe(CampoStatus::QTDREGFILA))).toString(),
            QStringLiteral("0"));

  // Outside a load every change is signalled and placed as before.
  tabela.Ordenar({CampoStatus::QTDREGFILA});
  outros = 0;
  Acrescentar(tabela, "H", 2);
  EXPECT_GT(outros, 0);
  EXPECT_EQ(Maquinas(tabela), QStringList({"F", "E", "G", "H", "D"}));

  // Without a sort order the load keeps the order of adding.
  tabela.Ordenar({});
  tabela.IniciarCarga();
  Acrescentar(tabela, "Z", 1);
  Acrescentar(tabela, "Y", 0);
  tabela.ConcluirCarga();
  EXPECT_EQ(Maquinas(tabela), QStringList({"Z", "Y"}));
}

}  // namespace
