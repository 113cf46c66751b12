#pragma once

// Runs catalogue statements on the fixture's connection and renders what
// they return, so that the tests compare whole results in one assertion.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "BancoTeste.h"
#include "platform/ConsultaSql.h"
#include "platform/ValorCampo.h"

namespace CatalogoTeste {

using Valores = QList<QPair<QString, QString>>;

// NULL is told apart from an empty text; dates keep their time.
inline QString Texto(const ValorCampo& valor) {
  if (valor.EhNulo()) return QStringLiteral("<nulo>");
  if (valor.EhDataHora()) return valor.AsDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
  return valor.AsString();
}

inline void Vincular(ConsultaSql& consulta, const Valores& valores) {
  for (const auto& [nome, valor] : valores) consulta.SetParam(nome, valor);
}

// The chosen columns of every row, "|" between columns.
inline QStringList Linhas(ConsultaSql& consulta, const QStringList& colunas) {
  QStringList linhas;
  for (int i = 0; i < consulta.QtdLinhas(); ++i) {
    QStringList campos;
    for (const QString& coluna : colunas) campos << Texto(consulta.Valor(i, coluna));
    linhas << campos.join(u'|');
  }
  return linhas;
}

inline QStringList Abrir(BancoTeste& banco, const QString& sql, const Valores& valores, const QStringList& colunas) {
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(sql);
  Vincular(consulta, valores);
  consulta.Abrir();
  return Linhas(consulta, colunas);
}

inline qint64 Executar(BancoTeste& banco, const QString& sql, const Valores& valores = {}) {
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(sql);
  Vincular(consulta, valores);
  return consulta.Executar();
}

// Every column of every row of a query written by the test, by position,
// so that columns of the same name are all shown.
inline QStringList Conteudo(BancoTeste& banco, const QString& sql) {
  ConsultaSql consulta(&banco.Conexao());
  consulta.SetSql(sql);
  consulta.Abrir();
  QStringList linhas;
  for (int i = 0; i < consulta.QtdLinhas(); ++i) {
    QStringList campos;
    for (const ValorCampo& valor : consulta.Linha(i)) campos << Texto(valor);
    linhas << campos.join(u'|');
  }
  return linhas;
}

}  // namespace CatalogoTeste
