// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf::cli {

// What scripts can rely on.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFailed = 1, // the operation was tried and failed (or found nothing)
    ExitUsage = 2,  // the command line or a batch line is wrong; nothing was done
};

} // namespace qmf::cli
