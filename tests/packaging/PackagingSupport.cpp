// SPDX-License-Identifier: GPL-3.0-or-later
#include "PackagingSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace qmf::packaging {

Outcome run(const QString& program, const QStringList& arguments, const QStringList& environment,
            const QString& workDir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment) {
        const qsizetype equals = setting.indexOf(u'=');
        env.insert(setting.left(equals), setting.mid(equals + 1));
    }
    process.setProcessEnvironment(env);
    if (!workDir.isEmpty()) {
        process.setWorkingDirectory(workDir);
    }
    process.start(program, arguments);
    Outcome result;
    if (!process.waitForStarted(10000)) {
        result.err = program + QStringLiteral(" did not start: ") + process.errorString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = program + QStringLiteral(" did not end within two minutes");
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out += QString::fromUtf8(process.readAllStandardOutput());
    result.err += QString::fromUtf8(process.readAllStandardError());
    return result;
}

Outcome bash(const QString& script, const QStringList& environment, const QString& workDir) {
    return run(QStringLiteral("bash"), {QStringLiteral("-c"), script}, environment, workDir);
}

QString readText(const QString& file) {
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
    return QString::fromUtf8(in.readAll());
}

std::set<QString> helpOptions(const QString& help, const QString& stopAt) {
    static const QRegularExpression option(QStringLiteral("^  (?:-\\S, )?(--[a-z][a-z-]*)"));
    std::set<QString> options;
    for (const QString& line : help.split(u'\n')) {
        if (!stopAt.isEmpty() && line.startsWith(stopAt)) {
            break;
        }
        if (const auto match = option.match(line); match.hasMatch()) {
            options.insert(match.captured(1));
        }
    }
    return options;
}

std::set<QString> helpCommands(const QString& help) {
    static const QRegularExpression command(QStringLiteral("^  ([a-z][a-z-]*)\\b"));
    std::set<QString> commands;
    bool inCommands = false;
    for (const QString& line : help.split(u'\n')) {
        if (line.startsWith(QStringLiteral("Commands"))) {
            inCommands = true;
        } else if (inCommands && !line.startsWith(u' ')) {
            break;
        } else if (const auto match = command.match(line); inCommands && match.hasMatch()) {
            commands.insert(match.captured(1));
        }
    }
    return commands;
}

std::map<QString, std::set<QString>> manOptions(const QString& source) {
    static const QRegularExpression longOption(QStringLiteral("--[a-z][a-z-]*[a-z]"));
    std::map<QString, std::set<QString>> options;
    QString section, subsection;
    bool tagLine = false;
    for (QString line : source.split(u'\n')) {
        line.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        if (line.startsWith(QStringLiteral(".SH "))) {
            section = line.mid(4).trimmed();
            subsection.clear();
        } else if (line.startsWith(QStringLiteral(".SS "))) {
            subsection = line.mid(4).trimmed().section(u' ', 0, 0);
        } else if (line.startsWith(QStringLiteral(".TP"))) {
            tagLine = true;
            continue;
        } else if (tagLine) {
            const QString where = subsection.isEmpty() ? section : section + u'/' + subsection;
            auto& found = options[where];
            for (const auto& match : longOption.globalMatch(line)) {
                found.insert(match.captured());
            }
        }
        tagLine = false;
    }
    return options;
}

std::set<QString> manCommands(const QString& source) {
    std::set<QString> commands;
    bool inCommands = false;
    for (const QString& line : source.split(u'\n')) {
        if (line.startsWith(QStringLiteral(".SH "))) {
            inCommands = line.mid(4).trimmed() == QStringLiteral("COMMANDS");
        } else if (inCommands && line.startsWith(QStringLiteral(".SS "))) {
            commands.insert(line.mid(4)
                                .trimmed()
                                .section(u' ', 0, 0)
                                .replace(QStringLiteral("\\-"), QStringLiteral("-")));
        }
    }
    return commands;
}

} // namespace qmf::packaging
