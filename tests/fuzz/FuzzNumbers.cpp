// SPDX-License-Identifier: GPL-3.0-or-later
// Number entry: the tool's hexadecimal bytes, seconds and counts, and the core's leading-number
// entry rules.
#include "FuzzTarget.h"
#include "cli/Numbers.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberText.h"

#include <QString>
#include <cmath>

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;

    if (const auto value = cli::parseHex(text)) {
        // What the tool prints reads back as the same number.
        FUZZ_CHECK(cli::parseHex(text::hex(*value)) == value);
        FUZZ_CHECK(cli::parseHex(QStringLiteral("0x") + text::hex(*value)) == value);
    }
    const auto byte = cli::parseHexByte(text, QStringLiteral("REG"), error);
    if (byte) {
        FUZZ_CHECK(cli::parseHex(text) == std::optional<quint32>(*byte));
    } else {
        FUZZ_CHECK(!error.isEmpty());
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
