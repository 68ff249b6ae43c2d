// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps the library in use: live objects and factories, and factory locks.
#pragma once

namespace vexacalc::detail {

void countObjectCreated() noexcept;
void countObjectDestroyed() noexcept;
void countLockTaken() noexcept;
// False when no lock was held: the unlock is refused instead of going negative.
bool countLockReleased() noexcept;
bool moduleInUse() noexcept;

} // namespace vexacalc::detail
