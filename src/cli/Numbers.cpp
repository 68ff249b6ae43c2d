// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Numbers.h"

#include "core/text/NumberText.h"

#include <cmath>

namespace qmf::cli {

std::optional<quint32> parseHex(QStringView text) {
    text = text.trimmed();
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        text = text.mid(2);
    } else if (text.endsWith(u'h', Qt::CaseInsensitive)) {
        text.chop(1);
    }
    if (text.isEmpty() || text.size() > 8) {
        return std::nullopt;
    }
    quint32 value = 0;
    for (const QChar c : text) {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + quint32(digit);
    }
    return value;
}

std::optional<quint8> parseHexByte(QStringView text, const QString& what, QString& error) {
    const auto value = parseHex(text);
    if (!value) {
        error =
            QStringLiteral("%1 \"%2\" is not a hexadecimal number (for example 5E, 0x5E or 5Eh)")
                .arg(what, text.toString());
        return std::nullopt;
    }
    if (*value > 0xFF) {
        error = QStringLiteral("%1 %2h does not fit a byte (0 to FF)").arg(what, text::hex(*value));
        return std::nullopt;
    }
    return quint8(*value);
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
