#include "platform/BibliotecaDinamica.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace {

#ifndef _WIN32
QString PastaExecutavel() {
  char caminho[PATH_MAX];
  const ssize_t tamanho = readlink("/proc/self/exe", caminho, sizeof caminho - 1);
  if (tamanho <= 0) return {};
  const QString arquivo = QFile::decodeName(QByteArray(caminho, tamanho));
  return arquivo.left(arquivo.lastIndexOf(u'/'));
}
#endif

}  // namespace

QString BibliotecaDinamica::NomeArquivo(const QString& nomeBase) {
#ifdef _WIN32
  return nomeBase + QStringLiteral(".dll");
#else
  return QStringLiteral("lib") + nomeBase + QStringLiteral(".so");
#endif
}

BibliotecaDinamica::Modulo BibliotecaDinamica::Carregar(const QString& arquivo) {
  if (arquivo.isEmpty()) return nullptr;
#ifdef _WIN32
  // LoadLibraryA already looks in the executable's folder first.
  return reinterpret_cast<Modulo>(LoadLibraryA(arquivo.toLocal8Bit().constData()));
#else
  // dlopen never looks beside the executable on its own; Windows does, and
  // that is where the library is installed with the program.
  if (!arquivo.contains(u'/')) {
    const QString pasta = PastaExecutavel();
    if (!pasta.isEmpty()) {
      const QString local = pasta + u'/' + arquivo;
      if (QFile::exists(local))
        if (Modulo modulo = dlopen(QFile::encodeName(local).constData(), RTLD_NOW | RTLD_LOCAL)) return modulo;
    }
  }
  return dlopen(QFile::encodeName(arquivo).constData(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void* BibliotecaDinamica::Procurar(Modulo modulo, const char* nome) {
  if (!modulo) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(modulo), nome));
#else
  return dlsym(modulo, nome);
#endif
}
