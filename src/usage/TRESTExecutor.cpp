#include "usage/TRESTExecutor.h"

#include "platform/Falha.h"
#include "platform/OleString.h"
#include "usage/TRESTBO.h"

namespace {

void Validar(const TRESTRequestDTO& request) {
  if (SysStringLen(request.BaseUrl) == 0) throw Falha(QStringLiteral("URL base da requisição não foi informada."));
  if (SysStringLen(request.Route) == 0) throw Falha(QStringLiteral("Rota da requisição não foi informado."));
  if (request.RequestType == 0) throw Falha(QStringLiteral("Tipo da requisição não foi informado."));
}

}  // namespace

TRESTExecutor::TRESTExecutor(const TRESTRequestDTO& request) {
  TRESTRequestDTO copia;
  TRESTRequestDTO::Copiar(request, copia);
  try {
    Validar(copia);
  } catch (...) {
    TRESTRequestDTO::Finalizar(copia);
    throw;
  }
  FRequest = copia;  // the copy's texts now belong to FRequest
}

TRESTExecutor::~TRESTExecutor() {
  TRESTRequestDTO::Finalizar(FRequest);
  TRESTResponseDTO::Finalizar(FResponse);
}

void TRESTExecutor::Execute() {
  TRESTResponseDTO resposta;
  try {
    TRESTBO::Send(FRequest, resposta);
    TRESTResponseDTO::Copiar(resposta, FResponse);
  } catch (...) {
    TRESTResponseDTO::Finalizar(resposta);
    throw;
  }
  TRESTResponseDTO::Finalizar(resposta);
  FExecuted = true;
}
