#include "platform/LeituraInstantanea.h"

#include "platform/ConexaoBanco.h"
#include "platform/Falha.h"

LeituraInstantanea::LeituraInstantanea(ConexaoBanco& conexao) : FConexao(conexao) {
  FConexao.IniciarLeituraInstantanea();
}

LeituraInstantanea::~LeituraInstantanea() {
  try {
    FConexao.EncerrarLeituraInstantanea();
  } catch (const Falha&) {
    // Only read: whatever ended the reading (a lost attachment) reaches the
    // next statement, which reports it.
  }
}
