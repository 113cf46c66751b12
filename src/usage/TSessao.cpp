#include "usage/TSessao.h"

#include "platform/Falha.h"
#include "usage/TFuncoes.h"

TSessao& TSessao::getInstancia() {
  static TSessao* instancia = new TSessao;
  return *instancia;
}

const TFilial& TSessao::getFilialLogada() const {
  if (!FFilialLogada) throw Falha(QStringLiteral("Filial Logada não definida."));
  return *FFilialLogada;
}

QString TSessao::getNomeUsuario() {
  if (FNomeUsuario.isEmpty()) FNomeUsuario = TFuncoes::getNomeComputador();
  return FNomeUsuario;
}
