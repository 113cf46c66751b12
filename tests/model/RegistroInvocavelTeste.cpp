// The registry of invokable interfaces and the service declaration recorded
// in it at start-up.

#include <gtest/gtest.h>

#include <QStringList>
#include <atomic>
#include <thread>
#include <vector>

#include "model/IServidorOffLine.h"
#include "platform/Falha.h"
#include "platform/TInvokableClassRegistry.h"

namespace {

TInterfaceInvocavel Interface(const QString& nome, const QUuid& id) {
  TInterfaceInvocavel declaracao;
  declaracao.Nome = nome;
  declaracao.Unidade = QStringLiteral("UnidadeTeste");
  declaracao.Identificador = id;
  declaracao.Operacoes = {{QStringLiteral("Somar"),
                           {{QStringLiteral("A"), QStringLiteral("Integer"), TModoParametro::Valor},
                            {QStringLiteral("B"), QStringLiteral("Integer"), TModoParametro::Referencia}},
                           QStringLiteral("Integer")}};
  return declaracao;
}

// "Nome(param:tipo, ...):resultado" for every operation, in order.
QStringList Assinaturas(const TInterfaceInvocavel& declaracao) {
  QStringList assinaturas;
  for (const auto& operacao : declaracao.Operacoes) {
    QStringList parametros;
    for (const auto& parametro : operacao.Parametros) {
      EXPECT_EQ(parametro.Modo, TModoParametro::Valor) << qPrintable(operacao.Nome + "." + parametro.Nome);
      parametros << parametro.Nome + ":" + parametro.Tipo;
    }
    assinaturas << operacao.Nome + "(" + parametros.join(", ") + "):" + operacao.TipoResultado;
  }
  return assinaturas;
}

TEST(RegistroInvocavel, NamespaceIdentificadorEDuplicatas) {
  TInvokableClassRegistry registro;
  const QUuid id1 = QUuid::createUuid();
  const QUuid id2 = QUuid::createUuid();

  EXPECT_TRUE(registro.RegisterInterface(Interface("ICalculo", id1)));
  EXPECT_TRUE(registro.RegisterInterface(Interface("IOutra", id2), "urn:proprio"));

  const auto achada = registro.PorIdentificador(id1);
  ASSERT_TRUE(achada.has_value());
  EXPECT_EQ(achada->Namespace, "urn:UnidadeTeste-ICalculo");
  EXPECT_EQ(achada->Operacoes, Interface("ICalculo", id1).Operacoes);
  EXPECT_EQ(registro.PorIdentificador(id2)->Namespace, "urn:proprio") << "a given namespace is kept";
  EXPECT_EQ(registro.PorNome("icalculo")->Identificador, id1);

  // The same identifier again, even under another name, is not recorded.
  EXPECT_FALSE(registro.RegisterInterface(Interface("ICalculo", id1)));
  EXPECT_FALSE(registro.RegisterInterface(Interface("IRenomeada", id1), "urn:outro"));
  ASSERT_EQ(registro.Interfaces().size(), 2);
  EXPECT_EQ(registro.PorIdentificador(id1)->Namespace, "urn:UnidadeTeste-ICalculo");

  EXPECT_FALSE(registro.PorIdentificador(QUuid::createUuid()).has_value());
  EXPECT_FALSE(registro.PorNome("IRenomeada").has_value());
  EXPECT_THROW(registro.RegisterInterface(Interface("ISemId", QUuid())), Falha);
  EXPECT_EQ(registro.Interfaces().size(), 2);
}

TEST(RegistroInvocavel, RegistroConcorrenteGravaUmaVez) {
  TInvokableClassRegistry registro;
  const QUuid comum = QUuid::createUuid();
  std::atomic<int> aceitos{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] {
      for (int j = 0; j < 50; ++j) {
        if (registro.RegisterInterface(Interface("IComum", comum))) ++aceitos;
        registro.RegisterInterface(Interface(QString("I%1_%2").arg(i).arg(j), QUuid::createUuid()));
        registro.PorIdentificador(comum);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(aceitos.load(), 1);
  EXPECT_EQ(registro.Interfaces().size(), 1 + 8 * 50);
}

TEST(RegistroInvocavel, ServidorOffLineRegistradoUmaVez) {
  auto& registro = TInvokableClassRegistry::Instancia();
  RegistrarServidorOffLine();
  const auto quantas = registro.Interfaces().size();
  RegistrarServidorOffLine();
  EXPECT_EQ(registro.Interfaces().size(), quantas);

  const auto achada = registro.PorIdentificador(QUuid("{89e6f7d7-9203-431e-ae69-a63798f66b59}"));
  ASSERT_TRUE(achada.has_value());
  EXPECT_EQ(achada->Nome, "IServidorOffLine");
  EXPECT_EQ(achada->Unidade, "ServidorOffLineIntf");
  EXPECT_EQ(achada->Namespace, "urn:ServidorOffLineIntf-IServidorOffLine");
  // Letter case of the parameter names differs between operations on purpose:
  // they are element names on the wire.
  EXPECT_EQ(Assinaturas(*achada),
            QStringList({
                "FRetornaUltimoId(VfEmpresa:string, VfIntervalo:string, VfQtdRegReceb:Integer, "
                "VpMaquinaECF:string):Integer",
                "EnviaTabelas(VFEmpresa:string, VFTabelas:TColecaoTabela, VfEstruturas:TColecaoEstruturaTabela, "
                "VpMaquinaECF:string):Boolean",
                "FRetornaAtualizacao(VfEmpresa:string, VIntegEstFilialLocal:Boolean, "
                "VpMaquinaECF:string):TRetornoCliente",
                "PConfirmaSincronizacao(VpCodEmpresa:string, VpIdSnc:string, VpMaquinaEcf:string):",
                "PGravarErro(VpCodEmpresa:string, VpErro:string, VpMaquinaEcf:string):",
                "PDeletaIntegMaquina(VpCodEmpresa:string, VpOrdem:Integer, VpMaquinaECF:string):",
                "FTestaConexao():Boolean",
                "FRetornaQtdRegistrosIntegrar(VfCodEmpresaLocal:string, VpMaquinaECF:string):Integer",
                "FRetornaMetaDadosTabelas(VFListaTabelas:TListaTabelas):TColMetaDadosTabelas",
                "RetornaRegistrosIntegrados(pCodEmpresaLocal:string, pID_BASE:Integer, "
                "pMaquinaECF:string):TColRegistroFila",
            }));
}

}  // namespace
