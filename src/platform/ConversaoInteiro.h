#pragma once

#include <QString>
#include <optional>

// The platform's text-to-integer rules: leading blanks skipped, an optional
// sign, decimal digits, or "$" (or "0x") followed by hexadecimal digits;
// nothing may follow. The result must fit in 32 bits.
namespace ConversaoInteiro {

std::optional<qint32> Converter(const QString& texto);

// Converter, failing with "'%s' is not a valid integer value".
qint32 StrToInt(const QString& texto);

}  // namespace ConversaoInteiro
