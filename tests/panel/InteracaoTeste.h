#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <functional>

// Input for widget tests, delivered through the application as the real
// events are (the window's key preview sees them first).
namespace InteracaoTeste {

// Runs the event loop until the condition holds or the time is up.
inline bool Esperar(const std::function<bool()>& condicao, int milissegundos = 5000) {
  QDeadlineTimer prazo(milissegundos);
  while (!condicao()) {
    if (prazo.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Shows a window and waits until it is the active one, so focus moves.
inline bool Mostrar(QWidget* janela) {
  janela->show();
  QApplication::setActiveWindow(janela);
  return Esperar([janela] { return janela->isActiveWindow(); });
}

inline void Teclar(QWidget* alvo, int tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier) {
  QKeyEvent pressao(QEvent::KeyPress, tecla, modificadores);
  QApplication::sendEvent(alvo, &pressao);
  QKeyEvent soltura(QEvent::KeyRelease, tecla, modificadores);
  QApplication::sendEvent(alvo, &soltura);
}

// A key press on the widget that has the focus.
inline void Teclar(int tecla) {
  QWidget* alvo = QApplication::focusWidget();
  if (alvo) Teclar(alvo, tecla);
}

inline void Digitar(QWidget* alvo, const QString& texto) {
  for (const QChar c : texto) {
    QKeyEvent pressao(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(alvo, &pressao);
  }
}

inline void Clicar(QWidget* alvo) {
  const QPointF centro = QRectF(alvo->rect()).center();
  const QPointF global = alvo->mapToGlobal(centro);
  QMouseEvent pressao(QEvent::MouseButtonPress, centro, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(alvo, &pressao);
  QMouseEvent soltura(QEvent::MouseButtonRelease, centro, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(alvo, &soltura);
}

}  // namespace InteracaoTeste
