// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/LeadingNumber.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qmf::text {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

QString withoutBlanks(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c)) {
            result += c;
        }
    }
    return result;
}

// The value of c as a digit of the radix, or -1 when it is none.
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

bool isDecimalDigit(const QString& s, qsizetype i) {
    return i < s.size() && digitValue(s[i], 10) >= 0;
}

// "&H..." / "&O...": the digits after the prefix; a long run simply grows towards infinity.
double prefixedNumber(const QString& s) {
    if (s.size() < 2) {
        return 0.0;
    }
    const QChar kind = s[1].toUpper();
    const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (radix == 0) {
        return 0.0;
    }
    double value = 0.0;
    for (qsizetype i = 2; i < s.size(); ++i) {
        const int digit = digitValue(s[i], radix);
        if (digit < 0) {
            break;
        }
        value = value * radix + digit;
    }
    return value;
}

} // namespace

quint32 leadingHex(QStringView text) {
    constexpr quint64 Max = std::numeric_limits<quint32>::max();
    quint64 value = 0;
    for (QChar c : text) {
        if (isBlank(c)) {
            continue;
        }
        const int digit = digitValue(c, 16);
        if (digit < 0) {
            break;
        }
        value = std::min(value * 16 + quint64(digit), Max);
    }
    return quint32(value);
}

double leadingNumber(QStringView text) {
    const QString s = withoutBlanks(text);
    if (s.startsWith(QLatin1Char('&'))) {
        return prefixedNumber(s);
    }

    qsizetype i = 0;
    std::string number; // the accepted part, in the form std::from_chars reads
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-')) {
            number += '-';
        }
        ++i;
    }

    // Magnitude of the first significant digit, to tell an overflow from an underflow.
    long long order = 0;
    bool significant = false;
    bool anyDigit = false;
    for (; isDecimalDigit(s, i); ++i) {
        number += char(s[i].unicode());
        anyDigit = true;
        significant = significant || s[i] != QLatin1Char('0');
        if (significant) {
            ++order;
        }
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        number += '.';
        for (++i; isDecimalDigit(s, i); ++i) {
            number += char(s[i].unicode());
            anyDigit = true;
            if (!significant) {
                significant = s[i] != QLatin1Char('0');
                if (!significant) {
                    --order;
                }
            }
        }
    }
    if (!anyDigit) {
        return 0.0;
    }

    // The exponent counts only when at least one digit follows E or D (and its sign).
    if (i < s.size() && QStringLiteral("eEdD").contains(s[i])) {
        qsizetype j = i + 1;
        bool negative = false;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) {
            negative = s[j] == QLatin1Char('-');
            ++j;
        }
        if (isDecimalDigit(s, j)) {
            constexpr long long Limit = 1000000; // far beyond any double; keeps the sum finite
            long long exponent = 0;
            for (; isDecimalDigit(s, j); ++j) {
                exponent = std::min(exponent * 10 + digitValue(s[j], 10), Limit);
            }
            if (negative) {
                exponent = -exponent;
            }
            order += exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    double value = 0.0;
    const std::errc error = std::from_chars(number.data(), number.data() + number.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        const bool negative = number.front() == '-';
        if (order > 0) {
            value = negative ? -std::numeric_limits<double>::infinity()
                             : std::numeric_limits<double>::infinity();
        } else {
            value = negative ? -0.0 : 0.0;
        }
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return value;
}

} // namespace qmf::text
