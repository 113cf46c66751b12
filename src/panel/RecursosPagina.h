#pragma once

#include <QByteArray>
#include <QString>

// The status page's own files, built into the program (resources/pagina.qrc):
// the machines that run the service often have no internet, and the page
// loads nothing from anywhere else.
//
// Threads: any.
namespace RecursosPagina {

struct Arquivo {
  QByteArray Corpo;
  QByteArray Tipo;  // Content-Type
};

// "/" (the page), "/pagina.js", "/pagina.css"; false for any other path.
bool Ler(const QString& caminho, Arquivo& arquivo);

// The Content-Security-Policy of the page and of everything it reads:
// nothing from elsewhere, no inline script or style, no framing.
inline constexpr char kPoliticaSeguranca[] =
    "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
    "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

}  // namespace RecursosPagina
