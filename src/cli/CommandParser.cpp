// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandParser.h"

namespace qmf::cli {

QString helpWithUsage(const QCommandLineParser& parser, const QString& usage) {
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    return QStringLiteral("Usage: ") + usage + (end < 0 ? QStringLiteral("\n") : text.mid(end));
}

CommandParser::CommandParser(const QString& command, const QString& description)
    : command_(command) {
    parser_.setApplicationDescription(description);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Show this help.")));
}

void CommandParser::addPositional(const QString& name, const QString& description,
                                  const QString& syntax) {
    parser_.addPositionalArgument(name, description, syntax);
    syntax_ += QLatin1Char(' ') + syntax;
}

std::optional<Parsed> CommandParser::parse(const QStringList& args, int minArgs, int maxArgs) {
    // The parser would take "-1" for an option named 1.
    for (const QString& arg : args) {
        if (arg.size() > 1 && arg[0] == QLatin1Char('-') && arg[1].isDigit()) {
            return usage(QStringLiteral("\"%1\": no negative numbers here").arg(arg));
        }
    }
    if (!parser_.parse(QStringList{command_} + args)) {
        return usage(parser_.errorText());
    }
    if (parser_.isSet(QStringLiteral("help"))) {
        return Parsed::help(helpText());
    }
    const qsizetype count = parser_.positionalArguments().size();
    if (count < minArgs) {
        return usage(QStringLiteral("missing argument"));
    }
    if (count > maxArgs) {
        return usage(QStringLiteral("unexpected argument \"%1\"")
                         .arg(parser_.positionalArguments().at(maxArgs)));
    }
    return std::nullopt;
}

QString CommandParser::helpText() const {
    return helpWithUsage(
        parser_,
        QStringLiteral("qmf4150ctl [board options] %1 [options]%2").arg(command_, syntax_));
}

Parsed CommandParser::usage(const QString& error) const {
    return Parsed::usage(QStringLiteral("%1: %2 (see qmf4150ctl %1 --help)").arg(command_, error));
}

} // namespace qmf::cli
