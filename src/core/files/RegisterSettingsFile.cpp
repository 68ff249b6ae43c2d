// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/RegisterSettingsFile.h"

#include "core/chip/SharedState.h"
#include "core/files/AllOrNothingFile.h"
#include "core/files/WholeFileReader.h"
#include "core/journal/WriteJournal.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

#include <QBuffer>
#include <QFileInfo>
#include <array>
#include <exception>

namespace qmf {

namespace {

// "FF,7FFF" plus generous room for blanks; anything longer is not a settings line.
constexpr qint64 MaxLineLength = 256;
constexpr quint32 MaxValue = 0x7FFF; // the value is handed on as a 16-bit integer

std::optional<quint32> hexField(QStringView field, quint32 max) {
    field = field.trimmed();
    if (field.isEmpty() || field.size() > 8) {
        return std::nullopt;
    }
    quint32 value = 0;
    for (const QChar c : field) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9') {
            digit = u - u'0';
        } else if (u >= u'A' && u <= u'F') {
            digit = u - u'A' + 10;
        } else if (u >= u'a' && u <= u'f') {
            digit = u - u'a' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + quint32(digit);
    }
    if (value > max) {
        return std::nullopt;
    }
    return value;
}

QString errorText(const std::exception& e) {
    if (const auto* link = dynamic_cast<const LinkError*>(&e)) {
        return link->message();
    }
    return QString::fromUtf8(e.what());
}

// Reads one line of at most MaxLineLength bytes; a longer line is consumed to its end and
// returned as nullopt so that it is reported instead of being split into pieces.
std::optional<QByteArray> readLine(QIODevice& device) {
    QByteArray line = device.readLine(MaxLineLength);
    if (line.endsWith('\n') || device.atEnd()) {
        return line;
    }
    while (!device.atEnd()) {
        const QByteArray rest = device.readLine(4096);
        if (rest.isEmpty() || rest.endsWith('\n')) {
            break;
        }
    }
    return std::nullopt;
}

bool isBlank(const QByteArray& line) {
    return line.trimmed().isEmpty();
}

} // namespace

bool hasRegisterSettingsExtension(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".dat"), Qt::CaseSensitive);
}

QByteArray registerSettingsLine(quint8 reg, quint8 value) {
    return (text::hex(reg) + QLatin1Char(',') + text::hex(value)).toLatin1() + "\r\n";
}

std::optional<RegisterSetting> parseRegisterSettingsLine(QStringView line) {
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0) {
        return std::nullopt;
    }
    const auto reg = hexField(line.left(comma), 0xFF);
    const auto value = hexField(line.mid(comma + 1), MaxValue);
    if (!reg || !value) {
        return std::nullopt;
    }
    return RegisterSetting{quint8(*reg), qint16(*value)};
}

ParsedRegisterSettings parseRegisterSettings(QIODevice& device) {
    ParsedRegisterSettings parsed;
    int lineNumber = 0;
    int counted = 0;
    while (!device.atEnd()) {
        const std::optional<QByteArray> line = readLine(device);
        if (line && line->isEmpty()) {
            break; // a read error; the caller asks the device about it
        }
        ++lineNumber;
        if (line && isBlank(*line)) {
            continue;
        }
        if (counted == RegisterSettingsCount) {
            parsed.firstIgnoredLine = lineNumber;
            break;
        }
        ++counted;
        QString text = line ? QString::fromUtf8(*line) : QString();
        if (lineNumber == 1 && text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1); // a byte-order mark some editors put in front
        }
        const auto setting = line ? parseRegisterSettingsLine(text) : std::nullopt;
        if (setting) {
            parsed.settings.append({lineNumber, *setting});
        } else {
            parsed.badLines.append(lineNumber);
        }
    }
    return parsed;
}

SaveRegisterSettingsResult saveRegisterSettings(SharedState& state, const QString& path) {
    SaveRegisterSettingsResult result;
    result.path = path;
    AllOrNothingFile file(path);
    if (!file.open()) {
        result.fileError = file.errorString();
        return result;
    }
    QByteArray lines;
    int saved = 0;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        const quint8 reg = quint8(r);
        quint8 value = 0;
        try {
            value = ReadRegisterAt(state, reg);
        } catch (const std::exception& e) {
            result.unreadable.append({reg, errorText(e)});
            continue;
        }
        lines += registerSettingsLine(reg, value);
        ++saved;
    }
    if (saved == 0) {
        // Nothing to keep: leave whatever file was there untouched.
        file.discard();
        return result;
    }
    if (!file.write(lines) || !file.commit()) {
        result.fileError = file.errorString();
        return result;
    }
    result.fileWritten = true;
    result.registersSaved = saved;
    return result;
}

ReadRegisterSettingsResult readRegisterSettingsFile(const QString& path,
                                                    const ReadControl& control) {
    ReadRegisterSettingsResult result;
    result.path = path;
    const WholeFile file = readWholeFile(path, MaxRegisterSettingsFileSize, control);
    switch (file.status) {
    case WholeFile::Status::Read:
        break;
    case WholeFile::Status::Interrupted:
        result.interrupted = true;
        return result;
    case WholeFile::Status::TooLarge:
        result.fileError = file.error + QStringLiteral("; a register settings file is a few "
                                                       "kilobytes");
        return result;
    case WholeFile::Status::NotFound:
    case WholeFile::Status::Failed:
        result.fileError = file.error;
        return result;
    }
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    result.parsed = parseRegisterSettings(buffer);
    return result;
}

LoadRegisterSettingsResult applyRegisterSettings(SharedState& state,
                                                 const ReadRegisterSettingsResult& file,
                                                 const std::function<bool()>& stop) {
    LoadRegisterSettingsResult result;
    result.path = file.path;
    if (!file.ok()) {
        result.fileError = file.interrupted ? QStringLiteral("interrupted") : file.fileError;
        return result;
    }
    const ParsedRegisterSettings& parsed = file.parsed;
    result.badLines = parsed.badLines;
    result.firstIgnoredLine = parsed.firstIgnoredLine;

    std::array<bool, RegisterSettingsCount> present{};
    for (const auto& line : parsed.settings) {
        present[line.setting.reg] = true;
    }
    const JournalSource source(
        state.journal(),
        QStringLiteral("Load Settings From File (%1)").arg(QFileInfo(file.path).fileName()));
    for (qsizetype i = 0; i < parsed.settings.size(); ++i) {
        const auto& line = parsed.settings[i];
        if (stop && stop()) {
            result.interrupted = true;
            result.notReached = int(parsed.settings.size() - i);
            break;
        }
        try {
            WriteRegisterAt(state, line.setting.reg, line.setting.value);
            ++result.registersWritten;
        } catch (const std::exception& e) {
            result.failedWrites.append({line.setting.reg, errorText(e)});
        }
    }
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        if (!present[r]) {
            result.missing.append(quint8(r));
        }
    }
    return result;
}

LoadRegisterSettingsResult loadRegisterSettings(SharedState& state, const QString& path) {
    return applyRegisterSettings(state, readRegisterSettingsFile(path));
}

} // namespace qmf
