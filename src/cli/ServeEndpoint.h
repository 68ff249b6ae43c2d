// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

namespace qmf::cli {

class PollStore;
struct ListenAddress;

// The HTTP side of serve: /metrics in the Prometheus text format and /healthz, served from the
// store's last snapshot by the library's own threads. GET and HEAD only: nothing can be changed
// over HTTP. One endpoint per process.
class ServeEndpoint {
public:
    // Listens at once. Throws CommandFailure when the address cannot be taken (in use, not this
    // machine's, no permission). `staleAfterMs`: how long after a poll /healthz calls polling
    // stalled.
    ServeEndpoint(const ListenAddress& listen, const PollStore& store, qint64 staleAfterMs);
    ~ServeEndpoint();
    ServeEndpoint(const ServeEndpoint&) = delete;
    ServeEndpoint& operator=(const ServeEndpoint&) = delete;

    // The port listened on (the one the system chose for port 0).
    int port() const;
    // Serves the metrics with this board label; until then /metrics is empty.
    void setBoard(const QString& board);

    // What the request hook reads (defined in the source file).
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace qmf::cli
