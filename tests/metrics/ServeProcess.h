// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace qmf::cli::test {

struct HttpReply {
    int status = 0; // 0: no answer
    QByteArray body;
    QByteArray contentType;
};

// One HTTP request, waiting at most 20 s for the answer.
HttpReply httpRequest(const QUrl& url, const QByteArray& method = "GET");

// Calls `done` until it is true or `seconds` have passed, letting events run in between.
bool waitUntil(const std::function<bool()>& done, int seconds = 60);

// A sample of a metric: its labels and its value.
struct Sample {
    std::map<QString, QString> labels;
    double value = 0;
};
// The samples of `name` in a text exposition.
std::vector<Sample> samples(const QByteArray& exposition, const QString& name);
// The one sample of `name` whose labels include `label`=`value` (nullopt when there is not
// exactly one).
std::optional<double> sampleValue(const QByteArray& exposition, const QString& name,
                                  const QString& label = {}, const QString& value = {});

// qmf4150ctl serve running on a free port; stopped with SIGTERM when destroyed.
class ServeProcess {
public:
    // Starts `qmf4150ctl <boardArgs> serve --listen 127.0.0.1:0 <serveArgs>` in `workDir` and
    // waits for its "serving" line; started() is false when it ended or did not say it.
    ServeProcess(const QStringList& boardArgs, const QStringList& serveArgs,
                 const QString& workDir);
    ~ServeProcess();

    bool started() const { return port_ > 0; }
    int port() const { return port_; }
    QUrl url(const QString& path) const;
    HttpReply get(const QString& path) const { return httpRequest(url(path)); }

    // SIGTERM, then the exit status (-1 when it crashed or did not end in 30 s).
    int stop();
    QByteArray out() const { return out_; }
    QByteArray err();

private:
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    QByteArray out_;
    QByteArray err_;
};

} // namespace qmf::cli::test
