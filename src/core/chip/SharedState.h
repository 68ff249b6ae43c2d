// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

namespace qmf {

class BoardLink;
class Temperature;
class Fan;
class WriteJournal;
namespace events {
class EventTracker;
}

using BoardFactory = std::function<std::unique_ptr<BoardLink>()>;

// The one register-access context of a process: which path to the board is in use, the chip's
// address, the variables of the single-register protocol, the board link and the channel objects.
// main() creates one and hands it to every window by reference; a test creates its own.
//
// Protocol: to read, set AddressPointer, call ReadRegister, take DataRead. To write, set
// AddressPointer and DataToWrite, call WriteRegister. Nobody relies on these three keeping their
// values across another caller's access.
class SharedState {
public:
    explicit SharedState(BoardFactory boardFactory);
    ~SharedState();
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    qint16 CommsMedium = 0;          // 1: printer-port path; anything else: on-board SMBus path
    qint16 DeviceAddress = 0;        // the chip's bus address in 8-bit form (0x50..0x5E)
    qint16 SavedTransferSetting = 0; // bus engine setting read on Finish, put back before writes
    qint16 DeviceChosen = 0;         // 16-bit Boolean: the device search finished with a device
    qint16 AddressPointer = 0;       // register of the next ReadRegister / WriteRegister
    qint32 DataToWrite = 0;          // value of the next WriteRegister (clamped in place)
    qint16 DataRead = 0;             // byte returned by the last ReadRegister
    qint16 CurrentRegisterIndex = 0; // address of the register selected in the register list

    // The board link, created by the factory on first use and kept for the whole run.
    BoardLink& board();
    bool hasBoard() const { return board_ != nullptr; }

    // Channel objects, created on first use; their addresses are set by the program's start-up
    // (fans) and the main window's load (temperatures).
    Temperature& IntTemp();
    Temperature& ExtTemp0();
    Temperature& ExtTemp1();
    Fan& Fan0();
    Fan& Fan1();

    // Every register write of the run (register access records them).
    WriteJournal& journal() { return *journal_; }
    // The alarm events judged on every status byte read (register access feeds it).
    events::EventTracker& events() { return *events_; }

private:
    BoardFactory boardFactory_;
    std::unique_ptr<BoardLink> board_;
    std::unique_ptr<Temperature> intTemp_, extTemp0_, extTemp1_;
    std::unique_ptr<Fan> fan0_, fan1_;
    std::unique_ptr<WriteJournal> journal_;
    std::unique_ptr<events::EventTracker> events_;
};

} // namespace qmf
