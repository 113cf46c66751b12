#include "usage/TRESTBO.h"

#include <mutex>
#include <vector>

#include "platform/BibliotecaDinamica.h"
#include "platform/Falha.h"

namespace {

// Report threads may still be sending while the process exits: everything
// they reach here is allocated once and never destroyed.
struct Estado {
  std::mutex Trava;
  TRESTBO* Instancia = nullptr;
  QString Caminho;
  // Instances forgotten by SetCaminhoBiblioteca: still in use by a Send
  // under way, so kept, as every instance is.
  std::vector<TRESTBO*> Esquecidas;
};

Estado& Global() {
  static Estado* estado = new Estado;
  return *estado;
}

// Releases the request copy on every path out of Send.
struct CopiaRequest {
  TRESTRequestDTO Registro;
  ~CopiaRequest() { TRESTRequestDTO::Finalizar(Registro); }
};

}  // namespace

TRESTBO::TRESTBO(const QString& arquivo) { Load(arquivo); }

void TRESTBO::Load(const QString& arquivo) {
  if (FModule) return;
  FModule = BibliotecaDinamica::Carregar(arquivo);
  if (!FModule) throw Falha(QStringLiteral("Erro ao carregar a biblioteca VelmoraREST.dll."));
  FRequestEntry = reinterpret_cast<FuncaoRequest>(BibliotecaDinamica::Procurar(FModule, "Request"));
  FHashEntry = BibliotecaDinamica::Procurar(FModule, "GeraSHA256");
}

TRESTBO& TRESTBO::Instancia() {
  Estado& estado = Global();
  std::lock_guard trava(estado.Trava);
  if (!estado.Instancia) {
    const QString arquivo = estado.Caminho.isEmpty() ? BibliotecaDinamica::NomeArquivo(QStringLiteral("VelmoraREST"))
                                                     : estado.Caminho;
    // Kept only once the library is loaded, so a failed load is tried again.
    estado.Instancia = new TRESTBO(arquivo);
  }
  return *estado.Instancia;
}

void TRESTBO::Send(const TRESTRequestDTO& request, TRESTResponseDTO& response) {
  CopiaRequest copia;
  TRESTRequestDTO::Copiar(request, copia.Registro);
  TRESTBO& binding = Instancia();
  if (!binding.FRequestEntry)
    throw Falha(QStringLiteral("A biblioteca VelmoraREST.dll não tem a função Request."));
  ArgumentoRequest argumento;
  argumento.Request = copia.Registro;  // lent for the call; the copy still owns its texts
  argumento.Complemento[0] = 0;
  argumento.Complemento[1] = 0;
  binding.FRequestEntry(&response, argumento);
}

void TRESTBO::SetCaminhoBiblioteca(const QString& caminho) {
  Estado& estado = Global();
  std::lock_guard trava(estado.Trava);
  estado.Caminho = caminho;
  if (estado.Instancia) estado.Esquecidas.push_back(estado.Instancia);
  estado.Instancia = nullptr;
}

bool TRESTBO::Carregado() {
  Estado& estado = Global();
  std::lock_guard trava(estado.Trava);
  return estado.Instancia != nullptr;
}
