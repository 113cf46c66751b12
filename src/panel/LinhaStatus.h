#pragma once

#include <QDateTime>
#include <QString>

// The fields of a status row, in the table's order.
enum class CampoStatus {
  CODEMPRESA,
  NOME,
  MAQUINAECF,
  INTERVALO,
  QTDREGRECEB,
  ULTRECEB,
  ULTENVIO,
  QTDREGENVIAR,
  STATUSERRO,
  QTDREGFILA,
};

// One row of the status table: one machine of one branch. Texts are stored
// cut to their field's width; an absent date is an invalid QDateTime, an
// absent count 0. A row left unfinished by a failed refresh keeps whatever
// was set before the failure.
struct LinhaStatus {
  QString CODEMPRESA;
  QString NOME;
  QString MAQUINAECF;
  QString INTERVALO;
  qint32 QTDREGRECEB = 0;
  QDateTime ULTRECEB;
  QDateTime ULTENVIO;
  qint32 QTDREGENVIAR = 0;
  QString STATUSERRO;
  qint32 QTDREGFILA = 0;

  static constexpr int kQtdCampos = 10;
  static QString NomeCampo(CampoStatus campo);
  // Width of a text field in characters; 0 for a field that is not cut.
  static int Largura(CampoStatus campo);
  static bool EhTexto(CampoStatus campo);
  static bool EhData(CampoStatus campo);

  // Stores a text cut to the field's width.
  void SetTexto(CampoStatus campo, const QString& texto);
  void SetInteiro(CampoStatus campo, qint32 valor);
  void SetDataHora(CampoStatus campo, const QDateTime& valor);

  QString Texto(CampoStatus campo) const;
  qint32 Inteiro(CampoStatus campo) const;
  QDateTime DataHora(CampoStatus campo) const;
};
