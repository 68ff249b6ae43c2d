// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <set>

// Readable QStrings in the test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace qmf::packaging {

struct Outcome {
    int exitCode = -1; // -1: did not start or crashed
    QString out;
    QString err;
    QString both() const { return out + err; }
};

// Runs a program to its end (at most two minutes) with `environment` added to this process's.
Outcome run(const QString& program, const QStringList& arguments,
            const QStringList& environment = {}, const QString& workDir = {});

// `bash -c script`.
Outcome bash(const QString& script, const QStringList& environment = {},
             const QString& workDir = {});

QString readText(const QString& file);

// The long options a --help text lists ("--simulate", ...), from its lines "  -h, --help  ..."
// and "  --smbus <...>  ...", up to `stopAt` (a line starting with it) when given.
std::set<QString> helpOptions(const QString& help, const QString& stopAt = {});

// The commands a qmf4150ctl --help lists under "Commands".
std::set<QString> helpCommands(const QString& help);

// A man page's source, read as a list of option tags per section: the long options on the tag
// line of each .TP item, by the .SH section (and .SS subsection, "COMMANDS/get") they are in.
std::map<QString, std::set<QString>> manOptions(const QString& source);

// The first words of the .SS headings under .SH COMMANDS.
std::set<QString> manCommands(const QString& source);

} // namespace qmf::packaging
