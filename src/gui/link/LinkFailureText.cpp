// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/LinkFailureText.h"

#include "core/link/LinkErrors.h"

namespace qmf {

QString linkFailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const LinkError& e) {
        return e.message();
    } catch (const OverflowError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

} // namespace qmf
