// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>

namespace qmf {

struct AppContext;

// A check box that owns one bit of one register. Every change of its state, by the user or by
// the page loader, sets or clears that bit by one read-modify-write; so a load that changes the
// box writes back the bit just read, and a load that leaves the box as it was writes nothing.
// After a failed write the box shows the chip's bit again.
class BitCheckBox : public QCheckBox {
    Q_OBJECT
public:
    BitCheckBox(AppContext& ctx, const QString& objectName, const QString& text, quint8 address,
                quint8 bit, QWidget* parent = nullptr);

    // Reads the bit from the chip into the box.
    void load();

    quint8 address() const { return address_; }
    quint8 bit() const { return bit_; }

private:
    void showChipBit();

    AppContext& ctx_;
    quint8 address_;
    quint8 bit_;
};

} // namespace qmf
