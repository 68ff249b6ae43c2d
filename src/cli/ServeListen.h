// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace qmf::cli {

// Where serve listens: an IPv4 address or a bracketed IPv6 one, and a port (0: any free port).
struct ListenAddress {
    QString host; // "127.0.0.1", "::1" (without brackets)
    int port = 0;
    bool ipv6 = false;

    // "127.0.0.1:9464", "[::1]:9464": as given back to a user and to the HTTP library.
    QString text() const;
};

// Parses "ADDR:PORT". Host names are refused (the address decides which network can read the
// board), and so is anything else than one address and one port; `error` says why.
std::optional<ListenAddress> parseListenAddress(const QString& text, QString& error);

} // namespace qmf::cli
