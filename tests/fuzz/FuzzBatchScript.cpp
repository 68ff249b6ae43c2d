// SPDX-License-Identifier: GPL-3.0-or-later
// The batch parser: a script is checked whole before any line runs. Nothing here runs a line.
#include "FuzzTarget.h"
#include "cli/BatchScript.h"
#include "cli/BoardOptions.h"
#include "cli/CommandFailure.h"

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray script(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool simulate : {true, false}) {
        cli::BoardOptions board;
        board.simulate = simulate;
        try {
            const QList<cli::BatchLine> lines = cli::parseBatchScript(script, board);
            int previous = 0;
            for (const cli::BatchLine& line : lines) {
                FUZZ_CHECK(line.number > previous);
                previous = line.number;
                FUZZ_CHECK(line.parsed.kind != cli::Parsed::Kind::Usage);
                FUZZ_CHECK(line.parsed.kind == cli::Parsed::Kind::Help || line.parsed.action);
            }
        } catch (const cli::UsageFailure& failure) {
            // Each wrong line is named, and the last line says nothing ran.
            FUZZ_CHECK(failure.lines().size() >= 2);
            FUZZ_CHECK(failure.lines().last() == QStringLiteral("batch: nothing was run"));
        }
    }
    return 0;
}
