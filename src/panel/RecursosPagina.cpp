#include "panel/RecursosPagina.h"

#include <QFile>
#include <mutex>

// The resources live in a static library: nothing would pull their object
// file into the program unless something names it. Outside any namespace,
// as the declaration the macro makes must be.
static void IniciarRecursos() { Q_INIT_RESOURCE(pagina); }

namespace {

struct Tipo {
  const char* Caminho;
  const char* Recurso;
  const char* ContentType;
};

constexpr Tipo kArquivos[] = {
    {"/", ":/pagina/index.html", "text/html; charset=utf-8"},
    {"/pagina.js", ":/pagina/pagina.js", "text/javascript; charset=utf-8"},
    {"/pagina.css", ":/pagina/pagina.css", "text/css; charset=utf-8"},
};

}  // namespace

namespace RecursosPagina {

bool Ler(const QString& caminho, Arquivo& arquivo) {
  static std::once_flag iniciados;
  std::call_once(iniciados, IniciarRecursos);
  for (const Tipo& tipo : kArquivos) {
    if (caminho != QLatin1String(tipo.Caminho)) continue;
    QFile recurso(QString::fromLatin1(tipo.Recurso));
    if (!recurso.open(QIODevice::ReadOnly)) return false;
    arquivo.Corpo = recurso.readAll();
    arquivo.Tipo = tipo.ContentType;
    return true;
  }
  return false;
}

}  // namespace RecursosPagina
