// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/LinuxBoard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace qmf::test {

// A temporary /dev, /sys and /proc for the scans and the open paths.
class FixtureTree {
public:
    FixtureTree() {
        for (const char* dir : {"dev", "sys", "proc"}) {
            QDir(dir_.path()).mkpath(QLatin1String(dir));
        }
    }

    QString path(const QString& relative) const { return dir_.path() + '/' + relative; }

    void write(const QString& relative, const QByteArray& content) const {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(content);
        }
    }

    // A symbolic link at `relative` pointing to `target` (relative to the tree).
    void link(const QString& relative, const QString& target) const {
        const QString at = path(relative);
        QDir().mkpath(QFileInfo(at).path());
        QDir().mkpath(path(target));
        QFile::link(path(target), at);
    }

    linux_hw::LinuxBoardOptions options() const {
        linux_hw::LinuxBoardOptions o;
        o.devRoot = path(QStringLiteral("dev"));
        o.sysRoot = path(QStringLiteral("sys"));
        o.procRoot = path(QStringLiteral("proc"));
        return o;
    }

private:
    QTemporaryDir dir_;
};

} // namespace qmf::test
