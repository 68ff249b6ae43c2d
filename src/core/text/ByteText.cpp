// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/ByteText.h"

namespace qmf::text {

namespace {

// The value of c as a digit of the radix (ASCII digits and letters only), or -1.
int digitValue(QChar c, int radix) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9') {
        value = u - u'0';
    } else if (u >= u'a' && u <= u'f') {
        value = u - u'a' + 10;
    } else if (u >= u'A' && u <= u'F') {
        value = u - u'A' + 10;
    }
    return value < radix ? value : -1;
}

ByteText fromDigits(QStringView digits, int radix) {
    ByteText result;
    if (digits.isEmpty()) {
        return result;
    }
    for (const QChar c : digits) {
        if (digitValue(c, radix) < 0) {
            return result;
        }
    }
    while (digits.size() > 1 && digits.front() == u'0') {
        digits = digits.mid(1);
    }
    // Three significant digits already exceed a byte in hexadecimal; in decimal they may not,
    // and nothing longer than three can be a byte in either.
    int value = 0;
    if (digits.size() <= 3) {
        for (const QChar c : digits) {
            value = value * radix + digitValue(c, radix);
        }
    }
    if (digits.size() > 3 || value > 0xFF) {
        result.kind = ByteText::Kind::TooLarge;
        result.digits = digits.toString().toUpper();
        return result;
    }
    result.kind = ByteText::Kind::Byte;
    result.value = quint8(value);
    return result;
}

} // namespace

ByteText parseHexByte(QStringView text) {
    QStringView s = text.trimmed();
    if (s.startsWith(u"&H", Qt::CaseInsensitive) || s.startsWith(u"0x", Qt::CaseInsensitive)) {
        s = s.mid(2);
    } else if (s.endsWith(u'h', Qt::CaseInsensitive)) {
        s.chop(1);
    }
    return fromDigits(s, 16);
}

ByteText parseDecimalByte(QStringView text) {
    return fromDigits(text.trimmed(), 10);
}

QString hexByteForms() {
    return QStringLiteral("one or two hexadecimal digits (0 to FF), alone or written as &H5E, "
                          "0x5E or 5Eh");
}

QString decimalByteForms() {
    return QStringLiteral("a whole number from 0 to 255");
}

} // namespace qmf::text
