// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Numbers.h"

#include "core/text/ByteText.h"

#include <cmath>

namespace qmf::cli {

std::optional<quint8> parseHexByte(QStringView text, const QString& what, QString& error) {
    const text::ByteText parsed = text::parseHexByte(text);
    switch (parsed.kind) {
    case text::ByteText::Kind::Byte:
        return parsed.value;
    case text::ByteText::Kind::TooLarge:
        error = QStringLiteral("%1 %2h does not fit a byte (0 to FF)").arg(what, parsed.digits);
        break;
    case text::ByteText::Kind::NotANumber:
        error = QStringLiteral("%1 \"%2\" is not a hexadecimal number: give %3")
                    .arg(what, text.toString(), text::hexByteForms());
        break;
    }
    return std::nullopt;
}

std::optional<double> parseSeconds(QStringView text, double min, double max, const QString& what,
                                   QString& error) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        error = QStringLiteral("%1 \"%2\" is not a number of seconds").arg(what, text.toString());
        return std::nullopt;
    }
    if (value < min || value > max) {
        error = QStringLiteral("%1 %2 is outside %3 to %4 seconds")
                    .arg(what, text.toString())
                    .arg(min)
                    .arg(max);
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> parseCount(QStringView text, qint64 min, qint64 max, const QString& what,
                                 QString& error) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok) {
        error = QStringLiteral("%1 \"%2\" is not a whole number").arg(what, text.toString());
        return std::nullopt;
    }
    if (value < min || value > max) {
        error = QStringLiteral("%1 %2 is outside %3 to %4").arg(what).arg(value).arg(min).arg(max);
        return std::nullopt;
    }
    return value;
}

} // namespace qmf::cli
