// SPDX-License-Identifier: GPL-3.0-or-later
// The bus trace reader and the timing check behind trace-check: any bytes are read or refused
// without harm, the same whether the file comes in one piece or in small ones, with times that
// never go back; the check takes whatever the reader passes on.
#include "FuzzTarget.h"
#include "core/trace/SmbusTimingCheck.h"
#include "core/trace/VcdReader.h"

#include <QList>

using namespace qmf::trace;

namespace {

struct Levels {
    qint64 timeNs;
    bool scl, sda;
    bool operator==(const Levels&) const = default;
};

struct Read {
    bool ok = false;
    QString error;
    QList<Levels> levels;
    qint64 endNs = 0;
};

// The file fed `piece` bytes at a time (all at once for 0).
Read read(const QByteArray& file, qsizetype piece) {
    Read result;
    VcdReader reader;
    reader.onLevels = [&](qint64 t, bool scl, bool sda) { result.levels.append({t, scl, sda}); };
    bool fed = true;
    const qsizetype step = piece > 0 ? piece : qMax<qsizetype>(file.size(), 1);
    for (qsizetype at = 0; fed && at < file.size(); at += step) {
        fed = reader.feed(QByteArrayView(file.constData() + at, qMin(step, file.size() - at)));
    }
    result.ok = fed && reader.finish();
    result.error = reader.error();
    result.endNs = reader.endTimeNs();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the piece size, the rest is the file.
    const qsizetype piece = data[0] % 17;
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const Read whole = read(file, 0);
    FUZZ_CHECK(whole.ok == whole.error.isEmpty());
    qint64 last = -1;
    for (const Levels& l : whole.levels) {
        FUZZ_CHECK(l.timeNs >= 0 && l.timeNs >= last);
        last = l.timeNs;
    }
    if (whole.ok) {
        FUZZ_CHECK(whole.endNs >= last);
    }

    const Read pieces = read(file, piece);
    FUZZ_CHECK(pieces.ok == whole.ok);
    FUZZ_CHECK(pieces.error == whole.error);
    FUZZ_CHECK(pieces.levels == whole.levels);

    SmbusTimingCheck check;
    quint64 reported = 0;
    check.onViolation = [&](const TimingViolation& v) {
        FUZZ_CHECK(v.measuredNs >= 0);
        FUZZ_CHECK(!describe(v).isEmpty());
        ++reported;
    };
    for (const Levels& l : whole.levels) {
        check.levels(l.timeNs, l.scl, l.sda);
    }
    check.finish(qMax(whole.endNs, last));
    FUZZ_CHECK(check.summary().violationCount() == reported);
    return 0;
}
