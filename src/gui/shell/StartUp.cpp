// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/StartUp.h"

#include "core/chip/ChannelBinding.h"
#include "gui/services/AppContext.h"

namespace qmf {

void StartUp(AppContext& ctx) {
    ctx.open(QStringLiteral("InitForm"));
    bindFanChannels(ctx.state);
}

} // namespace qmf
