#pragma once

#include <QTranslator>

// Qt's own texts in Portuguese: the file dialog, the edits' context menus and
// every other text Qt draws itself, from the translations installed with Qt
// (Debian's qt6-translations-l10n). The program's own texts are not looked
// up in any catalogue, so a translation never replaces them. Installed while
// the object lives; without the catalogue Qt keeps its English texts.
//
// Threads: the user-interface thread, after the application object exists.
class TraducaoQt {
 public:
  TraducaoQt();
  ~TraducaoQt();
  TraducaoQt(const TraducaoQt&) = delete;
  TraducaoQt& operator=(const TraducaoQt&) = delete;

  bool Instalada() const { return FInstalada; }

 private:
  QTranslator FTradutor;
  bool FInstalada = false;
};
