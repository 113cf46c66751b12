// A stand-in for the maker's REST transport library: it records every request
// it receives and answers with fixed bytes and a content allocated with the
// process's OLE string allocator, as the real library does.
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "RegistroTransporte.h"
#include "usage/ArgumentoRequest.h"

namespace {

// Never destroyed: the process may exit while a caller is held inside.
struct Estado {
  std::mutex Trava;
  std::condition_variable Mudou;
  RegistroTransporte Registro;
  int EmAndamento = 0;
  bool Reter = false;
};

Estado& Global() {
  static Estado* estado = new Estado;
  return *estado;
}

const char16_t kConteudo[] = u"{\"ok\":true}";

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void Request(TRESTResponseDTO* resposta, ArgumentoRequest argumento) {
  Estado& estado = Global();
  std::unique_lock trava(estado.Trava);
  ++estado.EmAndamento;
  estado.Mudou.notify_all();
  estado.Mudou.wait(trava, [&] { return !estado.Reter; });

  RegistroTransporte& registro = estado.Registro;
  std::memcpy(registro.Argumento, &argumento, sizeof argumento);
  std::memcpy(registro.RespostaNaEntrada, resposta, sizeof *resposta);
  const BSTR textos[6] = {argumento.Request.BaseUrl,  argumento.Request.Route,     argumento.Request.AuxText1,
                          argumento.Request.AuxText2, argumento.Request.UserAgent, argumento.Request.Body};
  for (int i = 0; i < 6; ++i) {
    registro.Prefixos[i] = 0;
    registro.Textos[i].clear();
    if (!textos[i]) continue;
    std::memcpy(&registro.Prefixos[i], reinterpret_cast<const char*>(textos[i]) - 4, 4);
    registro.Textos[i].assign(textos[i], registro.Prefixos[i] / 2);
  }

  const std::uint8_t fixo[5] = {1, 2, 3, 4, 5};
  std::memcpy(resposta->FixedPart, fixo, sizeof fixo);
  resposta->Content = SysAllocStringLen(kConteudo, sizeof kConteudo / 2 - 1);
  registro.ConteudoEntregue = resposta->Content;

  ++registro.Chamadas;
  --estado.EmAndamento;
  estado.Mudou.notify_all();
}

__attribute__((visibility("default"))) int GeraSHA256() { return 0; }

__attribute__((visibility("default"))) RegistroTransporte* TransporteTeste_Registro() { return &Global().Registro; }

__attribute__((visibility("default"))) int TransporteTeste_Aguardar(int chamadas) {
  Estado& estado = Global();
  std::unique_lock trava(estado.Trava);
  estado.Mudou.wait_for(trava, std::chrono::seconds(60), [&] { return estado.Registro.Chamadas >= chamadas; });
  return estado.Registro.Chamadas;
}

__attribute__((visibility("default"))) void TransporteTeste_Limpar() {
  Estado& estado = Global();
  std::lock_guard trava(estado.Trava);
  estado.Registro = RegistroTransporte{};
}

__attribute__((visibility("default"))) void TransporteTeste_Reter(bool reter) {
  Estado& estado = Global();
  std::lock_guard trava(estado.Trava);
  estado.Reter = reter;
  estado.Mudou.notify_all();
}

__attribute__((visibility("default"))) int TransporteTeste_AguardarEntrada() {
  Estado& estado = Global();
  std::unique_lock trava(estado.Trava);
  estado.Mudou.wait_for(trava, std::chrono::seconds(60), [&] { return estado.EmAndamento > 0; });
  return estado.EmAndamento;
}

}  // extern "C"
