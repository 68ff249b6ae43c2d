// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace qmf::text {

// A byte typed by a user, read strictly: blanks around it aside, the whole text must be the
// number. A register is hardware, so a typo is refused rather than written as whatever its
// first characters happen to mean.
struct ByteText {
    enum class Kind { Byte, NotANumber, TooLarge };
    Kind kind = Kind::NotANumber;
    quint8 value = 0; // the byte, when kind is Byte
    QString digits;   // when kind is TooLarge: the number's digits, upper case, no leading zeros
    bool ok() const { return kind == Kind::Byte; }
};

// Hexadecimal digits (either case) worth 0 to FF, alone or written &H5E, 0x5E or 5Eh.
// Leading zeros do not count against the two digits ("05E" is 5Eh).
ByteText parseHexByte(QStringView text);

// A whole number from 0 to 255 in decimal digits: no sign, point or exponent.
ByteText parseDecimalByte(QStringView text);

// What each of them accepts, to be told to the user with a refusal.
QString hexByteForms();
QString decimalByteForms();

} // namespace qmf::text
