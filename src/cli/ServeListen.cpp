// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServeListen.h"

#include <arpa/inet.h>

namespace qmf::cli {

QString ListenAddress::text() const {
    return (ipv6 ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2")).arg(host).arg(port);
}

std::optional<ListenAddress> parseListenAddress(const QString& text, QString& error) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) {
        error = QStringLiteral("--listen \"%1\" needs ADDRESS:PORT, e.g. 127.0.0.1:9464").arg(text);
        return std::nullopt;
    }
    ListenAddress listen;
    QString host = text.left(colon);
    const QString portText = text.mid(colon + 1);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        listen.ipv6 = true;
        host = host.mid(1, host.size() - 2);
    }
    const QByteArray hostBytes = host.toLatin1();
    unsigned char binary[16];
    const bool valid =
        host.size() == hostBytes.size() && !host.isEmpty() &&
        inet_pton(listen.ipv6 ? AF_INET6 : AF_INET, hostBytes.constData(), binary) == 1;
    if (!valid) {
        error = QStringLiteral("--listen \"%1\": \"%2\" is not an IP address (IPv4 such as "
                               "127.0.0.1, or IPv6 in brackets such as [::1])")
                    .arg(text, host);
        return std::nullopt;
    }
    bool numeric = !portText.isEmpty();
    for (QChar c : portText) {
        numeric = numeric && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    }
    const int port = numeric && portText.size() <= 5 ? portText.toInt() : -1;
    if (port < 0 || port > 65535) {
        error =
            QStringLiteral("--listen \"%1\": the port must be a number from 0 to 65535").arg(text);
        return std::nullopt;
    }
    listen.host = host;
    listen.port = port;
    return listen;
}

} // namespace qmf::cli
