// SPDX-License-Identifier: GPL-3.0-or-later
// Number entry: the shared byte entry of the register list and the tool, the tool's seconds and
// counts, and the core's leading-number entry rules.
#include "FuzzTarget.h"
#include "cli/Numbers.h"
#include "core/text/ByteText.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberText.h"

#include <QString>
#include <cmath>

using namespace qmf;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;

    // The shared byte entry: what it accepts reads back from its own forms; the tool agrees.
    const text::ByteText hexByte = text::parseHexByte(text);
    if (hexByte.ok()) {
        for (const QString& form :
             {text::hex(hexByte.value), u"0x"_s + text::hex(hexByte.value),
              u"&H"_s + text::hex(hexByte.value), text::hex(hexByte.value) + u'h'}) {
            const text::ByteText again = text::parseHexByte(form);
            FUZZ_CHECK(again.ok() && again.value == hexByte.value);
        }
    } else if (hexByte.kind == text::ByteText::Kind::TooLarge) {
        FUZZ_CHECK(!hexByte.digits.isEmpty() && !hexByte.digits.startsWith(u'0'));
    }
    const auto toolByte = cli::parseHexByte(text, u"REG"_s, error);
    FUZZ_CHECK(toolByte.has_value() == hexByte.ok());
    FUZZ_CHECK(!toolByte || *toolByte == hexByte.value);
    FUZZ_CHECK(toolByte.has_value() == error.isEmpty());
    const text::ByteText decimalByte = text::parseDecimalByte(text);
    if (decimalByte.ok()) {
        const text::ByteText again = text::parseDecimalByte(QString::number(decimalByte.value));
        FUZZ_CHECK(again.ok() && again.value == decimalByte.value);
    }

    error.clear();
    if (const auto seconds = cli::parseSeconds(text, 0.1, 3600, QStringLiteral("S"), error)) {
        FUZZ_CHECK(std::isfinite(*seconds) && *seconds >= 0.1 && *seconds <= 3600);
    } else {
        FUZZ_CHECK(!error.isEmpty());
    }
    error.clear();
    if (const auto count = cli::parseCount(text, 1, 1000000000, QStringLiteral("N"), error)) {
        FUZZ_CHECK(*count >= 1 && *count <= 1000000000);
    } else {
        FUZZ_CHECK(!error.isEmpty());
    }

    const quint32 hex = text::leadingHex(text);
    // Digits beyond 32 bits saturate; otherwise the value is the leading digits.
    FUZZ_CHECK(hex == 0xFFFFFFFF || text::leadingHex(text::hex(hex)) == hex);
    const double number = text::leadingNumber(text);
    FUZZ_CHECK(!std::isnan(number));
    (void)text::signedNumber(number);
    return 0;
}
