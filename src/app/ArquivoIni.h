#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A configuration file in the usual INI syntax, read whole into memory:
// lines trimmed, empty lines and lines starting with ";" ignored, "[name]"
// starts a section, any other line split at its first "=" into key and
// value, both trimmed. Section and key names match without regard to letter
// case; the first occurrence of a key wins, as the platform's reader does. A
// missing or unreadable file, section or key reads as empty text; so does a
// file too large to be a configuration file.
class ArquivoIni {
 public:
  explicit ArquivoIni(const QString& caminho);
  // The same reading over bytes already in memory (Windows-1252).
  static ArquivoIni DoConteudo(const QByteArray& dados);

  QString Ler(const QString& secao, const QString& chave) const;

  // Anything larger is not a configuration file; it reads as empty.
  static constexpr qint64 kTamanhoMaximo = 16 * 1024 * 1024;

 private:
  ArquivoIni() = default;
  void Analisar(const QString& texto);

  QHash<QString, QString> FValores;  // "SECAO\nCHAVE" in upper case
};
