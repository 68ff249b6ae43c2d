// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServeEndpoint.h"

#include "cli/CommandFailure.h"
#include "cli/ServeListen.h"
#include "cli/ServeMetrics.h"
#include "cli/ServePoller.h"

#include <CivetServer.h>
#include <atomic>
#include <civetweb.h>
#include <cstring>
#include <exception>
#include <prometheus/exposer.h>

namespace qmf::cli {

struct ServeEndpoint::Impl {
    const PollStore& store;
    qint64 staleAfterMs;
    std::unique_ptr<prometheus::Exposer> exposer;
    std::shared_ptr<SnapshotCollectable> metrics;
};

namespace {

// The library's request hook has no place for our data; one endpoint per process is all serve
// needs.
std::atomic<const ServeEndpoint::Impl*> current{nullptr};

void respond(mg_connection* conn, int status, const char* reason, const QByteArray& body,
             bool withBody, const char* extraHeader = "") {
    mg_printf(conn,
              "HTTP/1.1 %d %s\r\nContent-Type: text/plain; charset=utf-8\r\n"
              "Content-Length: %d\r\nCache-Control: no-store\r\n%sConnection: close\r\n\r\n",
              status, reason, int(body.size()), extraHeader);
    if (withBody) {
        mg_write(conn, body.constData(), size_t(body.size()));
    }
}

// 200 while the last poll read the chip and polling goes on; 503 with the reason otherwise.
int health(mg_connection* conn, const ServeEndpoint::Impl& endpoint, bool withBody) {
    const PollSnapshot snapshot = endpoint.store.latest();
    QString problem;
    if (!snapshot.polled) {
        problem = QStringLiteral("not polled yet");
    } else if (endpoint.store.nowMs() - snapshot.lastPollMs > endpoint.staleAfterMs) {
        problem = QStringLiteral("polling stalled: the last poll ended %1 s ago")
                      .arg((endpoint.store.nowMs() - snapshot.lastPollMs) / 1000);
    } else if (!snapshot.up) {
        problem = QStringLiteral("the chip does not answer: ") + snapshot.error;
    }
    if (problem.isEmpty()) {
        respond(conn, 200, "OK", QByteArrayLiteral("ok\n"), withBody);
        return 200;
    }
    respond(conn, 503, "Service Unavailable", problem.toUtf8() + '\n', withBody);
    return 503;
}

int beginRequest(mg_connection* conn) {
    const mg_request_info* request = mg_get_request_info(conn);
    const ServeEndpoint::Impl* endpoint = current.load();
    if (request == nullptr || endpoint == nullptr) {
        return 0;
    }
    const bool head = std::strcmp(request->request_method, "HEAD") == 0;
    if (!head && std::strcmp(request->request_method, "GET") != 0) {
        respond(conn, 405, "Method Not Allowed",
                QByteArrayLiteral("read-only: only GET and HEAD are served\n"), true,
                "Allow: GET, HEAD\r\n");
        return 405;
    }
    const char* uri = request->local_uri != nullptr ? request->local_uri : "";
    if (std::strcmp(uri, "/healthz") == 0) {
        return health(conn, *endpoint, !head);
    }
    if (std::strcmp(uri, "/metrics") == 0) {
        return 0; // the library serves it
    }
    // Its handler would take any path below /metrics too.
    respond(conn, 404, "Not Found", QByteArrayLiteral("not found: try /metrics or /healthz\n"),
            !head);
    return 404;
}

} // namespace

ServeEndpoint::ServeEndpoint(const ListenAddress& listen, const PollStore& store,
                             qint64 staleAfterMs)
    : impl_(std::make_unique<Impl>(Impl{store, staleAfterMs, nullptr, nullptr})) {
    const ServeEndpoint::Impl* none = nullptr;
    if (!current.compare_exchange_strong(none, impl_.get())) {
        throw CommandFailure(QStringLiteral("only one metrics endpoint can run in a process"));
    }
    CivetCallbacks callbacks;
    callbacks.begin_request = beginRequest;
    // civetweb prints why it could not start; the exception only says that it did not.
    callbacks.log_message = [](const mg_connection*, const char*) { return 1; };
    try {
        impl_->exposer = std::make_unique<prometheus::Exposer>(
            std::vector<std::string>{"listening_ports", listen.text().toStdString(), "num_threads",
                                     "2", "request_timeout_ms", "10000"},
            &callbacks);
    } catch (const std::exception&) {
        current.store(nullptr);
        throw CommandFailure(
            QStringLiteral("cannot listen on %1: the port is in use, the address is not one of "
                           "this machine's, or the port needs privileges")
                .arg(listen.text()));
    }
}

ServeEndpoint::~ServeEndpoint() {
    // The server's threads end first, so that no request sees the endpoint going.
    impl_->exposer.reset();
    current.store(nullptr);
}

int ServeEndpoint::port() const {
    const std::vector<int> ports = impl_->exposer->GetListeningPorts();
    return ports.empty() ? 0 : ports.front();
}

void ServeEndpoint::setBoard(const QString& board) {
    if (impl_->metrics) {
        impl_->exposer->RemoveCollectable(impl_->metrics);
    }
    impl_->metrics = std::make_shared<SnapshotCollectable>(impl_->store, board);
    impl_->exposer->RegisterCollectable(impl_->metrics);
}

} // namespace qmf::cli
