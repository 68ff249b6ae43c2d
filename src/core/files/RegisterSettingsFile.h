// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/WholeFileReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

class QIODevice;

namespace qmf {

class SharedState;

// The register settings file (".dat"): one text line "register,value" per register, registers 0
// to FF in order, both fields upper-case hexadecimal without prefix or leading zeros, each line
// ended by CR LF. Register 0x0D holding 0x41 is the line "D,41".
//
// Reading is lenient where that is harmless (blank lines, LF-only line ends, blanks around the
// fields, lower-case digits) and strict where it matters: a line with a register above FF, a
// character that is not a hexadecimal digit or a missing field is reported and never written.

inline constexpr int RegisterSettingsCount = 256;

// The name ends in exactly ".dat" (case-sensitive).
bool hasRegisterSettingsExtension(const QString& fileName);

// One line of the file, line end included: (0x0D, 0x41) -> "D,41\r\n".
QByteArray registerSettingsLine(quint8 reg, quint8 value);

struct RegisterSetting {
    quint8 reg = 0;
    // 0 to 7FFF; 255 or more is written as 255, as every register write does.
    qint16 value = 0;
    friend bool operator==(const RegisterSetting&, const RegisterSetting&) = default;
};

// One line without its line end; nullopt when it is not "register,value" in hexadecimal with a
// register of at most FF and a value of at most 7FFF.
std::optional<RegisterSetting> parseRegisterSettingsLine(QStringView line);

struct ParsedRegisterSettings {
    struct Line {
        int number = 0; // 1-based line number in the file
        RegisterSetting setting;
    };
    QList<Line> settings; // in file order
    QList<int> badLines;  // numbers of the lines that did not parse
    // The number of the first non-blank line after the 256th, 0 when there is none. A file holds
    // 256 settings; what follows them is not applied.
    int firstIgnoredLine = 0;
};

// Reads up to 256 non-blank lines (each counts, whether it parses or not) and checks whether
// anything else follows. Lines longer than any valid line are reported as not parsing.
ParsedRegisterSettings parseRegisterSettings(QIODevice& device);

// A register that could not be read or written, and why.
struct RegisterFailure {
    quint8 reg = 0;
    QString reason;
};

struct SaveRegisterSettingsResult {
    QString path;
    // Non-empty when the file could not be opened, written or committed. An existing file then
    // keeps its previous contents.
    QString fileError;
    bool fileWritten = false;          // the new file is in place
    int registersSaved = 0;            // lines in the new file (0 unless fileWritten)
    QList<RegisterFailure> unreadable; // registers left out because they could not be read
    bool complete() const { return fileWritten && registersSaved == RegisterSettingsCount; }
};

// Reads registers 0 to FF through ReadRegisterAt and writes one line for each register that could
// be read, skipping those that fail. The file is written to a temporary file that replaces the
// named file only when every line was written, so a failed save never leaves a file that looks
// complete. The chip is not accessed when the file cannot be opened; when no register can be read
// no file is written at all.
SaveRegisterSettingsResult saveRegisterSettings(SharedState& state, const QString& path);

// A register settings file is a few kilobytes; a larger one is refused unread.
inline constexpr qint64 MaxRegisterSettingsFileSize = 1024 * 1024;

// The file, read once and parsed: what a load checks and then writes.
struct ReadRegisterSettingsResult {
    QString path;
    // Non-empty when the file could not be read (missing, unreadable, a device, too large).
    QString fileError;
    bool interrupted = false; // stop() ended the reading
    ParsedRegisterSettings parsed;
    bool ok() const { return fileError.isEmpty() && !interrupted; }
};

// Reads the whole file (a regular file, a pipe or a FIFO, at most MaxRegisterSettingsFileSize
// bytes) and parses it. `control` follows a pipe that keeps the reading waiting.
ReadRegisterSettingsResult readRegisterSettingsFile(const QString& path,
                                                    const ReadControl& control = {});

struct LoadRegisterSettingsResult {
    QString path;
    // Non-empty when the file could not be opened or read; nothing was written then.
    QString fileError;
    int registersWritten = 0;
    QList<int> badLines;
    int firstIgnoredLine = 0;
    QList<RegisterFailure> failedWrites;
    QList<quint8> missing;    // registers for which the file holds no valid line
    bool interrupted = false; // stop() ended the writing
    int notReached = 0;       // settings of the file not written because of that
    bool complete() const {
        return fileError.isEmpty() && badLines.isEmpty() && firstIgnoredLine == 0 &&
               failedWrites.isEmpty() && missing.isEmpty() && !interrupted;
    }
};

// Writes each valid line of a file read by readRegisterSettingsFile through WriteRegisterAt in
// file order, skipping a write that fails and going on with the next; nothing when the file could
// not be read. `stop` is asked before each write. The chip gets exactly what was checked: the file
// is not read again.
LoadRegisterSettingsResult applyRegisterSettings(SharedState& state,
                                                 const ReadRegisterSettingsResult& file,
                                                 const std::function<bool()>& stop = {});

// readRegisterSettingsFile, then applyRegisterSettings.
LoadRegisterSettingsResult loadRegisterSettings(SharedState& state, const QString& path);

} // namespace qmf
