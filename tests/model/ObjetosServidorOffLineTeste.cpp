// Ownership of the service's data objects, and the field-type ordinals they
// carry.

#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <memory>

#include "model/TEstruturaTabela.h"
#include "model/TFieldType.h"
#include "model/TRetornoCliente.h"
#include "model/TTabela.h"

namespace {

// Every destruction is written down as "T<id>" or "E<id>", so the test sees
// how many times each object went, and in which order.
QList<QString> gDestruidos;

class TabelaContada : public TTabela {
 public:
  explicit TabelaContada(int id) { SetID(id); }
  ~TabelaContada() override { gDestruidos << QStringLiteral("T%1").arg(ID()); }
};

class EstruturaContada : public TEstruturaTabela {
 public:
  explicit EstruturaContada(int id) : FId(id) {}
  ~EstruturaContada() override { gDestruidos << QStringLiteral("E%1").arg(FId); }

 private:
  int FId;
};

TEST(ObjetosServidorOffLine, RetornoClienteLiberaCadaObjetoUmaVez) {
  gDestruidos.clear();
  {
    auto retorno = std::make_unique<TRetornoCliente>();
    auto* repetida = new TabelaContada(2);
    retorno->SetColecaoTabela({new TabelaContada(1), nullptr, repetida, new TabelaContada(3), repetida});
    retorno->SetColecaoEstrutura({nullptr, new EstruturaContada(1), new EstruturaContada(2), nullptr});
    EXPECT_TRUE(gDestruidos.isEmpty());
  }
  // Tables first, in index order, then structures; the object in two slots
  // once, the empty slots not at all.
  EXPECT_EQ(gDestruidos, QList<QString>({"T1", "T2", "T3", "E1", "E2"}));

  gDestruidos.clear();
  {
    TRetornoCliente vazio;
    vazio.SetColecaoTabela({nullptr, nullptr});
  }
  { TRetornoCliente semArrays; }
  EXPECT_TRUE(gDestruidos.isEmpty());
}

TEST(ObjetosServidorOffLine, TiposDeCampoNaOrdem) {
  EXPECT_EQ(kQtdTiposCampo, 38);
  EXPECT_EQ(static_cast<int>(TFieldType::ftUnknown), 0);
  EXPECT_EQ(static_cast<int>(TFieldType::ftString), 1);
  EXPECT_EQ(static_cast<int>(TFieldType::ftBlob), 15);
  EXPECT_EQ(static_cast<int>(TFieldType::ftWideString), 24);
  EXPECT_EQ(static_cast<int>(TFieldType::ftTimeStamp), 36);
  EXPECT_EQ(static_cast<int>(TFieldType::ftFMTBcd), 37);
  EXPECT_EQ(static_cast<int>(TAcao::TaExcluir), 2);
}

}  // namespace
