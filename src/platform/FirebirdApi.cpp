#include "platform/FirebirdApi.h"

#include <iberror.h>

#include "platform/Windows1252.h"

namespace FirebirdApi {

Firebird::IMaster* Mestre() {
  static Firebird::IMaster* const mestre = Firebird::fb_get_master_interface();
  return mestre;
}

FalhaBanco Converter(const Firebird::FbException& e) {
  char texto[4096];
  const unsigned tamanho = Mestre()->getUtilInterface()->formatStatus(texto, sizeof texto, e.getStatus());
  QList<qint64> codigos;
  bool perdida = false;
  // The error vector holds clusters of isc_arg_gds code, isc_arg_string text
  // and so on; only the codes matter here.
  const ISC_STATUS* v = e.getStatus()->getErrors();
  while (v && *v != isc_arg_end) {
    const ISC_STATUS tipo = v[0];
    const ISC_STATUS valor = v[1];
    if (tipo == isc_arg_gds) {
      codigos.append(valor);
      switch (valor) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_conn_lost:
        case isc_lost_db_connection:
        case isc_att_shutdown:
        case isc_shutdown:
          perdida = true;
          break;
        default:
          break;
      }
    }
    v += (tipo == isc_arg_cstring) ? 3 : 2;
  }
  QString mensagem = Windows1252::paraUnicode(texto, qsizetype(std::min<unsigned>(tamanho, sizeof texto)));
  while (mensagem.endsWith(u'\n')) mensagem.chop(1);
  return FalhaBanco(mensagem, codigos, perdida);
}

}  // namespace FirebirdApi
