// SPDX-License-Identifier: GPL-3.0-or-later
// detect and the choice of chip: through the tool on the simulated board (a chip at 5E on
// printer port 0 at 378h in the normal bus mode, another at 5C on the SMBus), and in-process on
// the recording board, where ports, bus modes and failures can be arranged.
#include "ToolProcess.h"
#include "cli/CommandFailure.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DeviceChoice.h"
#include "cli/GlobalOptions.h"
#include "cli/Runner.h"
#include "cli/Session.h"
#include "core/chip/SharedState.h"
#include "core/link/DeviceSearch.h"
#include "support/RecordingBoard.h"

#include <QBuffer>
#include <QDir>

namespace qmf::cli::test {
namespace {

// The finds in the program's words, limited by the board options; finding none is a failure
// that says why.
TEST(Detect, ListsTheFindsOrSaysWhyThereAreNone) {
    const QString port5E = DeviceSearch::parallelEntryText(0x5E, 0x378);
    const QString smbus5C = DeviceSearch::smbusEntryText(0x5C);
    const struct {
        const char* options;
        QStringList lines;
        const char* error = nullptr;
    } cases[] = {
        {"", {port5E, smbus5C}},
        {"--port 0", {port5E}},
        {"--address 0x5C", {smbus5C}},
        {"--address 5Eh", {port5E}},
        {"--alternate", {}, "Sorry, no QMF4150s were found. Please check all connections and try"},
        {"--address 0x5A", {}, "no QMF4150 answered at 5Ah"},
        {"--port 0 --address 0x5C", {}, "no QMF4150 answered at 5Ch on printer port 0"},
        {"--port 1", {}, "there is no printer port 1"},
        // The simulated SMBus chip moved: at 5Eh both answer at one address, one on each path.
        {"--sim-smbus-address 5E", {port5E, DeviceSearch::smbusEntryText(0x5E)}},
        {"--sim-smbus-address 0x50 --address 50", {DeviceSearch::smbusEntryText(0x50)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const ToolResult result = sim(c.options + QStringLiteral(" detect"));
        EXPECT_EQ(result.exitCode, c.error ? 1 : 0);
        EXPECT_EQ(result.outLines(), c.lines);
        EXPECT_EQ(result.err.isEmpty(), !c.error) << result.err.toStdString();
        EXPECT_TRUE(!c.error || result.err.contains(c.error)) << result.err.toStdString();
    }
}

class ChipChoice : public ToolTest {};

// Without --address the printer-port chip is used; --address 0x5C reaches the SMBus chip. Both
// keep their registers between runs in the state file, written through a temporary file.
TEST_F(ChipChoice, TheFirstFindUnlessAnAddressIsGivenAndBothAreKept) {
    const QByteArray before = kept("get 90").out;
    ASSERT_NE(before, "22\n");
    ASSERT_EQ(kept("--address 0x5C set 90 22").exitCode, 0);
    EXPECT_EQ(kept("get 90").out, before);
    ASSERT_EQ(kept("set 90 11").exitCode, 0);
    EXPECT_EQ(kept("get 90").out, "11\n");
    EXPECT_EQ(kept("--address 5C get 90").out, "22\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("board.state")});
    // The heaters exist on the printer-port path only.
    expectFailure(kept("--address 0x5C heaters on"), 1,
                  "Sorry, heaters cannot be enabled when the eval baord is not used.");
}

// The fixture's recording board, lent to a session of the tool.
class Borrowed final : public BoardLink {
public:
    explicit Borrowed(BoardLink& board) : board_(board) {}
    ParallelPortLink& parallelPortLink() override { return board_.parallelPortLink(); }
    SmbusLink& smbusLink() override { return board_.smbusLink(); }
    void setActiveMedium(int medium) override { board_.setActiveMedium(medium); }
    QString description() const override { return board_.description(); }
    bool smbusAvailable() override { return board_.smbusAvailable(); }

private:
    BoardLink& board_;
};

// In-process: port 0 (378h) holds 5E in the normal bus mode, port 1 (278h) 5A in the alternate
// one, the SMBus 58.
class DeviceChoiceTest : public ::testing::Test {
protected:
    DeviceChoiceTest() {
        state.board(); // takes the recording board
        board->setPorts({0x378, 0x278});
        board->addParallelChip(0, false, 0x5E);
        board->addParallelChip(1, true, 0x5A);
        board->addSmbusChip(0x58);
    }
    static BoardOptions options(const char* line) {
        return parseInvocation(words(QStringLiteral("qmf4150ctl %1 detect").arg(line))).board;
    }

    qmf::test::RecordingBoard* board = new qmf::test::RecordingBoard;
    SharedState state{[this] { return std::unique_ptr<BoardLink>(board); }};
};

// Only the port asked for is touched, the SMBus not for a printer-port option, the printer
// ports not for --smbus; a failing medium is reported and the other one still searched.
TEST_F(DeviceChoiceTest, OptionsLimitWhatIsProbedAndWhatIsKept) {
    const struct {
        const char* options;
        QList<int> parallel;
        QList<int> smbus;
        QStringList untouched = {};
        const char* failing = nullptr;
        QString failure = {};
    } cases[] = {
        {"", {0x5E, 0x5A}, {0x58}},
        {"--port 1", {0x5A}, {}, {"PortIndex=0", "Smbus.ReadByte"}},
        {"--alternate", {0x5A}, {}, {"Smbus.ReadByte"}},
        {"--address 0x58", {}, {0x58}},
        {"--smbus /dev/i2c-9", {}, {0x58}, {"BusEngine.ReadByte", "PortCount"}},
        {"", {}, {0x58}, {}, "BusEngine.ReadByte", "printer-port search: "},
        {"", {0x5E, 0x5A}, {}, {}, "Smbus.ReadByte", "SMBus search: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.options) + " failing " + (c.failing ? c.failing : "nothing"));
        board->clearLog();
        if (c.failing)
            board->failNext(1, QString::fromLatin1(c.failing));
        const DeviceSearchOutcome outcome = searchDevices(state.board(), options(c.options));
        EXPECT_EQ(outcome.finds.ParallelFinds, c.parallel);
        EXPECT_EQ(outcome.finds.SmbusFinds, c.smbus);
        EXPECT_EQ(outcome.failures.size(), c.failing ? 1 : 0);
        EXPECT_TRUE(outcome.failures.value(0).startsWith(c.failure));
        for (const QString& operation : c.untouched)
            EXPECT_FALSE(board->log.join(u'\n').contains(operation)) << operation.toStdString();
    }
}

// With nothing found the message names the address and the failures. The program's Finish
// applies every find at the chosen address, the last one deciding the path; the first find
// alone keeps the printer port that the tool promises to prefer.
TEST_F(DeviceChoiceTest, TheFirstFindAloneDecidesThePath) {
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    const BoardOptions address50 = options("--address 0x50");
    const DeviceSearchOutcome none = searchDevices(state.board(), address50);
    ASSERT_EQ(none.failures.size(), 1);
    EXPECT_EQ(nothingFoundMessage(none, address50),
              (QStringList{QStringLiteral("no QMF4150 answered at 50h"), none.failures[0]}));
    EXPECT_THROW(firstFind(none, address50), CommandFailure);
    board->addSmbusChip(0x5E);
    const DeviceSearchOutcome outcome = searchDevices(state.board(), options("--address 0x5E"));
    ASSERT_EQ(outcome.finds.SmbusFinds, QList<int>{0x5E});
    const SearchFinds first = firstFind(outcome, {});
    EXPECT_TRUE(first.SmbusFinds.isEmpty());
    EXPECT_TRUE(DeviceSearch::applyChoice(state, first, 0x5E).isEmpty());
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceAddress, 0x5E);
}

// A command that needs one chip probes only what the options allow and stops at the first
// chip that answers: `get` with --port and --address costs its probe and its read, nothing
// else; without them the order is the program's (ports, normal mode first, then the SMBus).
TEST_F(DeviceChoiceTest, AGetProbesOnlyWhatItWasToldAndStopsAtTheFirstFind) {
    const struct {
        const char* options;
        int transfers;
        const char* firstProbe;
        QStringList untouched = {};
    } cases[] = {
        {"--port 0 --address 0x5E",
         2,
         "BusEngine.ReadByte(5E,0D)=41",
         {"Smbus", "PortIndex=1", "AlternateMode=1"}},
        {"", 2, "BusEngine.ReadByte(5E,0D)=41", {"Smbus", "PortIndex=1", "AlternateMode=1"}},
        {"--address 0x5A", 5, "BusEngine.ReadByte(5A,0D)=FF", {"Smbus"}},
        {"--address 0x58", 6, "BusEngine.ReadByte(58,0D)=FF"},
        {"--alternate", 12, "BusEngine.ReadByte(5E,0D)=FF", {"Smbus", "AlternateMode=0"}},
        {"--smbus /dev/i2c-9", 5, "Smbus.ReadByte(5E,0D)=FF", {"BusEngine", "PortCount"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        board->clearLog();
        Session session(options(c.options), [this] { return std::make_unique<Borrowed>(*board); });
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Console console(out, err);
        const Parsed get = getCommand().parse({QStringLiteral("D")}, session.options());
        ASSERT_EQ(runAction(get.action, session, console, {}), 0) << err.data().toStdString();
        EXPECT_EQ(out.data(), "41\n");
        const QStringList transfers = board->transfers();
        EXPECT_EQ(transfers.size(), c.transfers) << transfers.join(u' ').toStdString();
        EXPECT_EQ(transfers.value(0), QString::fromLatin1(c.firstProbe));
        for (const QString& operation : c.untouched)
            EXPECT_FALSE(board->log.join(u'\n').contains(operation)) << operation.toStdString();
    }
}

// With no printer port and no SMBus adapter, detect says so, as the program's search does.
TEST_F(DeviceChoiceTest, NothingToSearchIsNamed) {
    board->setPorts({});
    board->setSmbusAvailable(false);
    const BoardOptions none = options("");
    const DeviceSearchOutcome outcome = searchDevices(state.board(), none);
    const QStringList message = nothingFoundMessage(outcome, none);
    ASSERT_EQ(message.size(), 3);
    EXPECT_EQ(message[0], QStringLiteral("Sorry, no QMF4150s were found. Please check all "
                                         "connections and try again"));
    EXPECT_EQ(message[1], QStringLiteral("No printer port was found on this computer."));
    EXPECT_TRUE(message[2].startsWith(
        QStringLiteral("No SMBus adapter was found on this computer (/dev/i2c-N).")));
    EXPECT_TRUE(board->transfers().isEmpty());
}

} // namespace
} // namespace qmf::cli::test
