// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf {

class BoardLink;

// The operating-system build number the device search compares to decide whether the on-board
// SMBus is offered (950/1111 and 1998/2222 are the builds on which the SMBus path works). On this
// platform the SMBus path works wherever the board link offers an SMBus controller, so the build
// reported is one the search accepts exactly then.
class OsVersionInfo {
public:
    explicit OsVersionInfo(BoardLink& board) : board_(board) {}

    // "2222" when the board link offers an SMBus controller, "0" otherwise.
    QString BuildNumber() const;

private:
    BoardLink& board_;
};

} // namespace qmf
