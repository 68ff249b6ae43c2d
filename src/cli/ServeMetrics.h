// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ServePoller.h"

#include <QString>
#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>
#include <vector>

namespace qmf::cli {

// The metric families of a snapshot, every sample labelled with the board, the chip's address
// and the medium. While the chip does not answer only qmf4150_up (0) and the poll counters are
// given, so that no old reading passes for a current one.
std::vector<prometheus::MetricFamily> metricFamilies(const PollSnapshot& snapshot,
                                                     const QString& board);

// What the endpoint's /metrics serves: the store's last snapshot, read under its lock only.
class SnapshotCollectable final : public prometheus::Collectable {
public:
    SnapshotCollectable(const PollStore& store, QString board)
        : store_(store), board_(std::move(board)) {}
    std::vector<prometheus::MetricFamily> Collect() const override;

private:
    const PollStore& store_;
    QString board_;
};

} // namespace qmf::cli
