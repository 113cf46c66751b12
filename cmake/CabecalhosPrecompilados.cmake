# Precompiled headers. Almost every file includes the same Qt and standard
# headers, and every test GoogleTest; parsing them once per group of targets
# instead of once per file takes about a third off a clean build's CPU time.
#
# Only headers from outside the project go in, so the layer check and the
# include rules keep seeing every project include where it is written, and the
# lower layers' header holds Qt Core only (Qt Widgets stays in the window
# layer). Off with PAINEL_PCH=OFF, which the sanitized pass uses: there every
# file still compiles on its own includes, so an include missing from a file
# cannot hide behind these headers.
#
#   precompilar_cabecalhos(<alvo> NUCLEO|JANELAS|TESTES)  builds the header
#   reaproveitar_cabecalhos(<alvo> <alvo que o construiu>)  reuses it; the
#     compile flags must match (same build, same Qt modules).

set(PAINEL_CABECALHOS_NUCLEO
  <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QList> <QObject>
  <QString> <QStringList>
  <algorithm> <cstdint> <cstring> <functional> <memory> <optional> <string> <vector>)

set(PAINEL_CABECALHOS_JANELAS ${PAINEL_CABECALHOS_NUCLEO}
  <QApplication> <QDialog> <QHeaderView> <QKeyEvent> <QLabel> <QPainter>
  <QPushButton> <QStyle> <QStyledItemDelegate> <QTableView> <QWidget>)

set(PAINEL_CABECALHOS_TESTES ${PAINEL_CABECALHOS_JANELAS}
  <gtest/gtest.h>
  <QCheckBox> <QDeadlineTimer> <QFileInfo> <QLineEdit> <QPointer> <QProcess>
  <QTemporaryDir>)

function(precompilar_cabecalhos alvo grupo)
  if(PAINEL_PCH)
    target_precompile_headers(${alvo} PRIVATE ${PAINEL_CABECALHOS_${grupo}})
  endif()
endfunction()

function(reaproveitar_cabecalhos alvo origem)
  if(PAINEL_PCH)
    target_precompile_headers(${alvo} REUSE_FROM ${origem})
  endif()
endfunction()
