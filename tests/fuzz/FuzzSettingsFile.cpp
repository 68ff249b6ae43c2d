// SPDX-License-Identifier: GPL-3.0-or-later
// The register settings file: the reader, the tool's check of a whole file, and the loader that
// writes what parsed to a simulated chip.
#include "FuzzTarget.h"
#include "boards/sim/SimulatedBoard.h"
#include "cli/SettingsFileCheck.h"
#include "core/chip/SharedState.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/RegisterSettingsReport.h"
#include "core/time/Clock.h"

#include <QBuffer>
#include <QSet>

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    ReadRegisterSettingsResult file;
    file.path = QStringLiteral("fuzz.dat");
    file.parsed = parseRegisterSettings(buffer);
    const ParsedRegisterSettings& parsed = file.parsed;

    // Line numbers rise; at most 256 lines count; every setting fits what a write takes.
    int previous = 0;
    for (const auto& line : parsed.settings) {
        FUZZ_CHECK(line.number > previous);
        previous = line.number;
        FUZZ_CHECK(line.setting.value >= 0 && line.setting.value <= 0x7FFF);
        // A setting written out as the file format reads back as itself (values clamp to FF).
        const quint8 value = quint8(qMin<int>(line.setting.value, 0xFF));
        const QByteArray written = registerSettingsLine(line.setting.reg, value);
        const auto reread = parseRegisterSettingsLine(QString::fromLatin1(written).trimmed());
        FUZZ_CHECK(reread && reread->reg == line.setting.reg && reread->value == value);
    }
    FUZZ_CHECK(parsed.settings.size() + parsed.badLines.size() <= RegisterSettingsCount);
    FUZZ_CHECK(parsed.firstIgnoredLine == 0 ||
               parsed.settings.size() + parsed.badLines.size() == RegisterSettingsCount);

    // The tool refuses a file unless it is a complete set; the program writes what parsed.
    QSet<int> present;
    for (const auto& line : parsed.settings) {
        present.insert(line.setting.reg);
    }
    const QStringList problems = cli::settingsFileProblems(file.path, parsed);
    FUZZ_CHECK(problems.isEmpty() == (parsed.badLines.isEmpty() && parsed.firstIgnoredLine == 0 &&
                                      present.size() == RegisterSettingsCount));

    ManualClock clock;
    SharedState state([&clock] { return std::make_unique<sim::SimulatedBoard>(clock); });
    state.CommsMedium = 1;
    state.DeviceAddress = 0x5E;
    const LoadRegisterSettingsResult loaded = applyRegisterSettings(state, file);
    FUZZ_CHECK(loaded.registersWritten == parsed.settings.size());
    FUZZ_CHECK(loaded.complete() == problems.isEmpty());
    FUZZ_CHECK(!describeLoad(loaded).isEmpty());
    return 0;
}
