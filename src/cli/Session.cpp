// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Session.h"

#include "boards/linux/LinuxBoard.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedBoard.h"
#include "cli/BusDiagnostics.h"
#include "cli/CommandFailure.h"
#include "cli/DeviceChoice.h"
#include "cli/Interrupt.h"
#include "cli/SimStateFile.h"
#include "core/chip/ChannelBinding.h"
#include "core/chip/SharedState.h"
#include "core/journal/WriteJournal.h"
#include "core/link/BoardLink.h"
#include "core/text/NumberText.h"
#include "core/time/Clock.h"
#include "core/trace/BusTraceRecording.h"

namespace qmf::cli {

Session::Session(BoardOptions options, BoardFactory hardware)
    : options_(std::move(options)), hardware_(std::move(hardware)) {
    if (options_.simulate) {
        // The simulated day starts now, so that logged times of day look like the real thing.
        auto manual = std::make_unique<ManualClock>(QDateTime::currentDateTime());
        manualClock_ = manual.get();
        clock_ = std::move(manual);
    } else {
        clock_ = std::make_unique<SystemClock>();
    }
    const auto create = [this]() -> std::unique_ptr<BoardLink> {
        if (options_.pinLevel) {
            return sim::makePinLevelSimulatedBoard(*clock_);
        }
        if (options_.simulate) {
            auto board = std::make_unique<sim::SimulatedBoard>(*clock_);
            if (options_.simSmbusAddress) {
                board->setSmbusChipAddress(*options_.simSmbusAddress);
            }
            if (!options_.simStateFile.isEmpty()) {
                restoreSimulatedBoard(options_.simStateFile, *board);
            }
            if (options_.simFailTransfer) {
                board->failTransferAfter(*options_.simFailTransfer - 1);
            }
            simBoard_ = board.get();
            return board;
        }
        if (hardware_) {
            return hardware_();
        }
        linux_hw::LinuxBoardOptions hardware;
        hardware.smbusDevice = options_.smbusDevice;
        return linux_hw::makeLinuxBoard(hardware);
    };
    state_ = std::make_unique<SharedState>([this, create] {
        std::unique_ptr<BoardLink> board = create();
        trace_ = startBusTrace(*board, options_);
        return board;
    });
}

Session::~Session() = default;

BoardLink& Session::board() {
    return state_->board();
}

SharedState& Session::chip() {
    if (!chosen_) {
        const DeviceSearchOutcome outcome =
            searchDevices(board(), options_, SearchExtent::FirstFind);
        const SearchFinds first = firstFind(outcome, options_);
        const int address =
            first.ParallelFinds.isEmpty() ? first.SmbusFinds.first() : first.ParallelFinds.first();
        const QStringList failures = DeviceSearch::applyChoice(*state_, first, address);
        if (!failures.isEmpty()) {
            throw CommandFailure(QStringList{QStringLiteral("the chip at %1h could not be chosen")
                                                 .arg(text::hex(quint32(address)))} +
                                 failures);
        }
        bindFanChannels(*state_);
        chosen_ = first;
        // A medium that failed before this chip answered may hold the one the search would have
        // chosen: say so, and which chip is used instead.
        if (!outcome.failures.isEmpty() && warn) {
            warn(outcome.failures +
                 QStringList{QStringLiteral("using the chip at %1h on %2")
                                 .arg(text::hex(quint32(address)),
                                      first.ParallelFinds.isEmpty()
                                          ? QStringLiteral("the SMBus")
                                          : QStringLiteral("printer port %1")
                                                .arg(first.ParallelFindPorts.first()))});
        }
    }
    return *state_;
}

void Session::restoreChoice() {
    if (chosen_) {
        const int address = chosen_->ParallelFinds.isEmpty() ? chosen_->SmbusFinds.first()
                                                             : chosen_->ParallelFinds.first();
        const QStringList failures = DeviceSearch::applyChoice(*state_, *chosen_, address);
        if (!failures.isEmpty()) {
            throw CommandFailure(
                QStringList{QStringLiteral("the chosen chip could not be selected again")} +
                failures);
        }
    }
}

WriteJournal& Session::journal() {
    return state_->journal();
}

const Clock& Session::clock() const {
    return *clock_;
}

void Session::wait(qint64 ms) {
    if (manualClock_) {
        // The simulated chips live through the wait, so that a run that only waits still moves a
        // saved board on, and a wait before the first transfer of a batch counts too.
        board();
        manualClock_->advanceMs(ms);
    } else {
        sleepRealTime(ms);
    }
}

void Session::finish() {
    if (simBoard_) {
        simBoard_->parallelPortLink().busEngine().setAuxOutputs(0);
        if (!options_.simStateFile.isEmpty()) {
            saveSimulatedBoard(options_.simStateFile, *simBoard_);
        }
    }
    finishBusTrace(trace_);
}

BusHealthCounts Session::busHealthCounts() const {
    return state_->hasBoard() ? state_->board().busHealth().counts() : BusHealthCounts{};
}

} // namespace qmf::cli
