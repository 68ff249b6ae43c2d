// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServeProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <csignal>

namespace qmf::cli::test {

HttpReply httpRequest(const QUrl& url, const QByteArray& method) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(20000);
    QNetworkReply* reply = manager.sendCustomRequest(request, method, QByteArray());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    HttpReply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    reply->deleteLater();
    return result;
}

bool waitUntil(const std::function<bool()>& done, int seconds) {
    const QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        // Short enough to see a change soon after it happens, long enough to leave the CPU
        // to the processes under test.
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

std::vector<Sample> samples(const QByteArray& exposition, const QString& name) {
    static const QRegularExpression line(
        QStringLiteral(R"(^([a-zA-Z_:][a-zA-Z0-9_:]*)(?:\{(.*)\})? (\S+)$)"));
    static const QRegularExpression label(QStringLiteral(R"re(([a-zA-Z_]\w*)="([^"]*)")re"));
    std::vector<Sample> found;
    for (const QString& text : QString::fromUtf8(exposition).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch() || m.captured(1) != name) {
            continue;
        }
        Sample sample;
        for (auto it = label.globalMatch(m.captured(2)); it.hasNext();) {
            const QRegularExpressionMatch l = it.next();
            sample.labels[l.captured(1)] = l.captured(2);
        }
        sample.value = m.captured(3).toDouble();
        found.push_back(sample);
    }
    return found;
}

std::optional<double> sampleValue(const QByteArray& exposition, const QString& name,
                                  const QString& label, const QString& value) {
    std::optional<double> result;
    int count = 0;
    for (const Sample& s : samples(exposition, name)) {
        const auto it = s.labels.find(label);
        if (label.isEmpty() || (it != s.labels.end() && it->second == value)) {
            result = s.value;
            ++count;
        }
    }
    return count == 1 ? result : std::nullopt;
}

ServeProcess::ServeProcess(const QStringList& boardArgs, const QStringList& serveArgs,
                           const QString& workDir)
    : process_(std::make_unique<QProcess>()) {
    process_->setWorkingDirectory(workDir);
    process_->start(QStringLiteral(QMF4150CTL_PATH),
                    boardArgs +
                        QStringList{QStringLiteral("serve"), QStringLiteral("--listen"),
                                    QStringLiteral("127.0.0.1:0")} +
                        serveArgs);
    static const QRegularExpression serving(
        QStringLiteral(R"(serving http://127\.0\.0\.1:(\d+)/)"));
    waitUntil(
        [&] {
            out_ += process_->readAllStandardOutput();
            const QRegularExpressionMatch m = serving.match(QString::fromUtf8(out_));
            if (m.hasMatch()) {
                port_ = m.captured(1).toInt();
            }
            return port_ > 0 || process_->state() == QProcess::NotRunning;
        },
        30);
}

ServeProcess::~ServeProcess() {
    if (process_->state() != QProcess::NotRunning) {
        stop();
    }
}

QUrl ServeProcess::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
}

int ServeProcess::stop() {
    if (process_->state() != QProcess::NotRunning) {
        ::kill(pid_t(process_->processId()), SIGTERM);
    }
    if (!process_->waitForFinished(30000)) {
        process_->kill();
        process_->waitForFinished();
        return -1;
    }
    out_ += process_->readAllStandardOutput();
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

QByteArray ServeProcess::err() {
    err_ += process_->readAllStandardError();
    return err_;
}

} // namespace qmf::cli::test
