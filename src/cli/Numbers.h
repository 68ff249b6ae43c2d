// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace qmf::cli {

// Register addresses, values, masks and device addresses are hexadecimal bytes, read as the
// register list reads its hexadecimal entry: "5E", "&H5E", "0x5E" and "5Eh" are all 0x5E.
// On failure `error` says what is wrong, naming `what`.
std::optional<quint8> parseHexByte(QStringView text, const QString& what, QString& error);

// A decimal number of seconds from `min` to `max` ("2", "0.5").
std::optional<double> parseSeconds(QStringView text, double min, double max, const QString& what,
                                   QString& error);

// A decimal whole number from `min` to `max`.
std::optional<qint64> parseCount(QStringView text, qint64 min, qint64 max, const QString& what,
                                 QString& error);

} // namespace qmf::cli
