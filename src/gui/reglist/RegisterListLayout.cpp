// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/RegisterListLayout.h"

namespace qmf {

namespace {

std::vector<quint8> family(RegisterFamily f) {
    std::vector<quint8> result;
    for (int n = 0; n < RegisterMap::familyChannelCount(f); ++n) {
        result.push_back(RegisterMap::familyAddress(f, n));
    }
    return result;
}

std::vector<quint8> temperatureChannel(int n) {
    return {quint8(0x40 + n), quint8(0x30 + n), quint8(0x80 + n), quint8(0x88 + n),
            quint8(0x48 + n), quint8(0x98 + n), quint8(0x90 + n), quint8(0xA0 + n)};
}

std::vector<quint8> fan(int n) {
    return {quint8(0x18 + n), quint8(0x60 + n), quint8(0x68 + n), quint8(0x70 + n),
            quint8(0x78 + n), quint8(0x1A + n), quint8(0x10 + n)};
}

std::vector<quint8> ain(int n) {
    return {quint8(0x50 + n), quint8(0x58 + n), quint8(0xA8 + n), quint8(0xB0 + n),
            quint8(0xB8 + n)};
}

std::vector<RegisterPageLayout> build() {
    std::vector<quint8> ains = ain(0);
    const std::vector<quint8> ain1 = ain(1);
    ains.insert(ains.end(), ain1.begin(), ain1.end());
    // The register panels are SSPanel1 to SSPanel11; SSPanel6 is the panel of the bit digits.
    return {
        {RegisterTab::Main,
         {{QStringLiteral("SSPanel1"), {{0x00, 0x01, 0x0F, 0x0B, 0x0D, 0x0E}}},
          {QStringLiteral("SSPanel2"), {}}},
         {}},
        {RegisterTab::GpioAin,
         {{QStringLiteral("SSPanel3"),
           {family(RegisterFamily::GpioControl), family(RegisterFamily::GpioFanMask)}},
          {QStringLiteral("SSPanel4"), {ains}}},
         {0x04, 0x05}},
        {RegisterTab::Temp,
         {{QStringLiteral("SSPanel8"), {temperatureChannel(0)}},
          {QStringLiteral("SSPanel10"), {temperatureChannel(1)}},
          {QStringLiteral("SSPanel5"), {temperatureChannel(2)}}},
         {0x06}},
        {RegisterTab::Fans,
         {{QStringLiteral("SSPanel7"), {fan(0)}},
          {QStringLiteral("SSPanel9"), {fan(1)}},
          {QStringLiteral("SSPanel11"), {{0x07, 0x08, 0x09}}}},
         {0x02, 0x03}},
    };
}

} // namespace

const std::vector<RegisterPageLayout>& registerListPages() {
    static const std::vector<RegisterPageLayout> pages = build();
    return pages;
}

} // namespace qmf
