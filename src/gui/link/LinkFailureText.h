// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

namespace qmf {

// The text of whatever a board operation threw: a link or overflow error's own message, a
// standard exception's what(), "unknown error" for anything else.
QString linkFailureText(const std::exception_ptr& failure);

} // namespace qmf
