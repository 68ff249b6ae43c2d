// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's command line: the arguments (separated by NUL bytes in the input) through the board
// options and then the command's own parser. Nothing here runs a command.
#include "FuzzTarget.h"
#include "cli/Commands.h"
#include "cli/GlobalOptions.h"

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments{QStringLiteral("qmf4150ctl")};
    for (const QByteArray& part :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0')) {
        arguments << QString::fromUtf8(part);
    }
    const cli::Invocation invocation = cli::parseInvocation(arguments);
    if (invocation.kind != cli::Invocation::Kind::Run) {
        FUZZ_CHECK(!invocation.text.isEmpty());
        return 0;
    }
    const cli::CommandSpec* command = cli::findCommand(invocation.command);
    FUZZ_CHECK(command != nullptr);
    // The options agree with one another, as the tool promises before it opens anything.
    const cli::BoardOptions& board = invocation.board;
    FUZZ_CHECK(board.simStateFile.isEmpty() || board.simulate);
    FUZZ_CHECK(board.smbusDevice.isEmpty() || (!board.simulate && !board.port && !board.alternate));
    FUZZ_CHECK(!board.port || (*board.port >= 0 && *board.port <= 255));
    FUZZ_CHECK(!board.address ||
               (*board.address >= 0x50 && *board.address <= 0x5E && *board.address % 2 == 0));
    const cli::Parsed parsed = command->parse(invocation.commandArgs, board);
    FUZZ_CHECK(parsed.kind == cli::Parsed::Kind::Run ? bool(parsed.action)
                                                     : !parsed.text.isEmpty());
    return 0;
}
