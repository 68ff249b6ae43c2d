// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/RegisterSettingsReport.h"

#include "core/text/NumberText.h"

#include <algorithm>

namespace qmf {

namespace {

constexpr int MaxRuns = 8;

QList<int> registerNumbers(const QList<RegisterFailure>& failures) {
    QList<int> numbers;
    for (const auto& failure : failures) {
        numbers.append(failure.reg);
    }
    return numbers;
}

// The first reason, with a note when others differ from it.
QString reasons(const QList<RegisterFailure>& failures) {
    if (failures.isEmpty()) {
        return {};
    }
    const QString& first = failures.first().reason;
    const bool others =
        std::any_of(failures.begin(), failures.end(),
                    [&first](const RegisterFailure& f) { return f.reason != first; });
    return others ? first + QStringLiteral(" (and other errors)") : first;
}

QString registers(const QList<int>& numbers, bool hexadecimal) {
    return (numbers.size() == 1 ? QStringLiteral("register ") : QStringLiteral("registers ")) +
           numberRuns(numbers, hexadecimal);
}

QString capitalised(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

} // namespace

QString numberRuns(QList<int> numbers, bool hexadecimal) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    const auto show = [hexadecimal](int n) {
        return hexadecimal ? text::hex(quint32(n)) : QString::number(n);
    };
    QStringList runs;
    int shownUpTo = 0;
    for (qsizetype i = 0; i < numbers.size() && runs.size() < MaxRuns;) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) {
            ++j;
        }
        if (j - i >= 2) {
            runs.append(show(numbers[i]) + QStringLiteral(" to ") + show(numbers[j]));
        } else {
            j = i; // two in a row read better listed
            runs.append(show(numbers[i]));
        }
        shownUpTo = int(j + 1);
        i = j + 1;
    }
    QString text = runs.join(QStringLiteral(", "));
    if (shownUpTo < numbers.size()) {
        text += QStringLiteral(", and %1 more").arg(numbers.size() - shownUpTo);
    }
    return text;
}

QStringList describeSave(const SaveRegisterSettingsResult& result) {
    if (result.complete()) {
        return {QStringLiteral("Register settings were saved to file.")};
    }
    QStringList lines;
    const int total = RegisterSettingsCount;
    if (!result.fileError.isEmpty()) {
        lines << QStringLiteral("Register settings were not saved: the file %1 could not be "
                                "written (%2).")
                     .arg(result.path, result.fileError)
              << QStringLiteral("0 of %1 registers were saved; a file of that name keeps its "
                                "previous contents.")
                     .arg(total);
    } else if (!result.fileWritten) {
        lines << QStringLiteral("Register settings were not saved: no register could be read "
                                "(%1).")
                     .arg(reasons(result.unreadable))
              << QStringLiteral("0 of %1 registers were saved; no file was written.").arg(total);
        return lines;
    } else {
        lines << QStringLiteral("Register settings were saved to file, but only %1 of %2 "
                                "registers could be read.")
                     .arg(result.registersSaved)
                     .arg(total);
    }
    if (!result.unreadable.isEmpty()) {
        lines << QStringLiteral("%1 could not be read and %2 missing from the file: %3.")
                     .arg(capitalised(registers(registerNumbers(result.unreadable), true)),
                          result.unreadable.size() == 1 ? QStringLiteral("is")
                                                        : QStringLiteral("are"),
                          reasons(result.unreadable));
    }
    return lines;
}

QStringList describeLoad(const LoadRegisterSettingsResult& result) {
    if (!result.fileError.isEmpty()) {
        return {QStringLiteral("Register settings were not loaded: the file %1 could not be "
                               "read (%2).")
                    .arg(result.path, result.fileError),
                QStringLiteral("No register was written.")};
    }
    if (result.complete()) {
        return {QStringLiteral("Register settings were loaded from file.")};
    }
    QStringList lines;
    if (result.registersWritten == 0) {
        lines << QStringLiteral("No register settings were loaded from file: 0 of %1 registers "
                                "were written.")
                     .arg(RegisterSettingsCount);
    } else {
        lines << QStringLiteral("Register settings were only partly loaded from file: %1 of %2 "
                                "registers were written.")
                     .arg(result.registersWritten)
                     .arg(RegisterSettingsCount);
    }
    if (!result.badLines.isEmpty()) {
        const QString runs = numberRuns(result.badLines, false);
        lines << (result.badLines.size() == 1
                      ? QStringLiteral("Line %1 is not of the form register,value in hexadecimal "
                                       "(register 0 to FF) and was skipped.")
                      : QStringLiteral("Lines %1 are not of the form register,value in "
                                       "hexadecimal (register 0 to FF) and were skipped."))
                     .arg(runs);
    }
    if (result.firstIgnoredLine != 0) {
        lines << QStringLiteral("The file holds more than %1 lines; line %2 and the lines after "
                                "it were ignored.")
                     .arg(RegisterSettingsCount)
                     .arg(result.firstIgnoredLine);
    }
    if (!result.failedWrites.isEmpty()) {
        lines << QStringLiteral("Writing %1 failed: %2.")
                     .arg(registers(registerNumbers(result.failedWrites), true),
                          reasons(result.failedWrites));
    }
    if (!result.missing.isEmpty()) {
        QList<int> missing;
        for (const quint8 reg : result.missing) {
            missing.append(reg);
        }
        lines << QStringLiteral("The file holds no setting for %1.").arg(registers(missing, true));
    }
    if (result.interrupted) {
        lines << QStringLiteral("The load was interrupted; %1 of the file's settings were not "
                                "written.")
                     .arg(result.notReached);
    }
    return lines;
}

} // namespace qmf
