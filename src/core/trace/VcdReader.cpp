// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/trace/VcdReader.h"

#include <limits>

namespace qmf::trace {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QString shown(QByteArrayView w) {
    const QString text = QString::fromUtf8(w.first(qMin<qsizetype>(w.size(), 40)));
    return w.size() > 40 ? text + QStringLiteral("...") : text;
}

// "SCL", "scl" and "SCL[0]" all name the wire SCL.
bool sameName(const QByteArray& reference, const QString& wanted) {
    QString name = QString::fromUtf8(reference);
    if (const qsizetype bracket = name.indexOf(QLatin1Char('[')); bracket > 0) {
        name.truncate(bracket);
    }
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace

VcdReader::VcdReader(QString sclName, QString sdaName)
    : sclName_(std::move(sclName)), sdaName_(std::move(sdaName)) {}

bool VcdReader::fail(const QString& what) {
    if (error_.isEmpty()) {
        error_ = QStringLiteral("line %1: %2").arg(wordLine_).arg(what);
    }
    return false;
}

bool VcdReader::feed(QByteArrayView bytes) {
    if (!error_.isEmpty()) {
        return false;
    }
    for (const char c : bytes) {
        if (isSpace(c)) {
            if (!partial_.isEmpty()) {
                const QByteArray w = partial_;
                partial_.resize(0);
                if (!word(w)) {
                    return false;
                }
            }
            if (c == '\n') {
                ++line_;
            }
            continue;
        }
        if (partial_.isEmpty()) {
            wordLine_ = line_;
        }
        if (partial_.size() >= MaxWordBytes) {
            return fail(QStringLiteral("a word of more than %1 characters: this is not a value "
                                       "change dump")
                            .arg(MaxWordBytes));
        }
        partial_.append(c);
    }
    return true;
}

bool VcdReader::finish() {
    if (!error_.isEmpty()) {
        return false;
    }
    if (!partial_.isEmpty()) {
        const QByteArray w = partial_;
        partial_.resize(0);
        if (!word(w)) {
            return false;
        }
    }
    wordLine_ = line_;
    if (mode_ == Mode::Header) {
        return fail(QStringLiteral("the file ends before $enddefinitions: it is not a complete "
                                   "value change dump"));
    }
    if (mode_ == Mode::Command) {
        return fail(QStringLiteral("the file ends inside %1 (no $end)").arg(shown(keyword_)));
    }
    emitLevels();
    return true;
}

bool VcdReader::word(const QByteArray& w) {
    switch (mode_) {
    case Mode::Header:
        if (!w.startsWith('$')) {
            return fail(QStringLiteral("\"%1\" where a $ command was expected: this is not a "
                                       "value change dump")
                            .arg(shown(w)));
        }
        keyword_ = w;
        args_.clear();
        if (w == "$end") {
            return fail(QStringLiteral("$end without a command"));
        }
        mode_ = Mode::Command;
        return true;
    case Mode::Command:
        if (w == "$end") {
            mode_ = Mode::Header;
            return command(keyword_, args_);
        }
        if (args_.size() < 64) {
            args_.append(w);
        }
        return true;
    case Mode::BodyComment:
        if (w == "$end") {
            mode_ = Mode::Body;
        }
        return true;
    case Mode::VectorId:
        mode_ = Mode::Body;
        return true;
    case Mode::Body:
        break;
    }
    const char first = w.front();
    switch (first) {
    case '#':
        return timeStamp(w);
    case '0':
    case '1':
    case 'x':
    case 'X':
    case 'z':
    case 'Z':
        if (w.size() < 2) {
            return fail(QStringLiteral("the value %1 names no wire").arg(shown(w)));
        }
        value(first, QByteArrayView(w).sliced(1));
        return true;
    case 'b':
    case 'B':
    case 'r':
    case 'R':
        // A vector or a real: its wire's code is the next word.
        mode_ = Mode::VectorId;
        return true;
    case '$':
        // $dumpvars, $dumpall, $dumpon, $dumpoff open blocks of ordinary values; their $end
        // closes them. Anything else (a $comment) is passed over to its $end.
        if (w == "$dumpvars" || w == "$dumpall" || w == "$dumpon" || w == "$dumpoff" ||
            w == "$end") {
            return true;
        }
        mode_ = Mode::BodyComment;
        return true;
    default:
        return fail(
            QStringLiteral("\"%1\" is neither a time stamp nor a value change").arg(shown(w)));
    }
}

bool VcdReader::command(const QByteArray& keyword, const QList<QByteArray>& args) {
    if (keyword == "$timescale") {
        return timescale(args);
    }
    if (keyword == "$var") {
        return variable(args);
    }
    if (keyword != "$enddefinitions") {
        return true; // $date, $version, $comment, $scope, $upscope and what a writer adds
    }
    if (scaleMul_ == 0) {
        scaleMul_ = 1; // no $timescale: IEEE 1364 leaves it to the tool; take nanoseconds
    }
    const QString wires = wireNames_.isEmpty()
                              ? QStringLiteral("it has none")
                              : QStringLiteral("its wires are %1")
                                    .arg(wireNames_.mid(0, 12).join(QStringLiteral(", ")));
    if (sclId_.isEmpty()) {
        return fail(QStringLiteral("no one-bit wire named %1 (%2)").arg(sclName_, wires));
    }
    if (sdaId_.isEmpty()) {
        return fail(QStringLiteral("no one-bit wire named %1 (%2)").arg(sdaName_, wires));
    }
    mode_ = Mode::Body;
    return true;
}

bool VcdReader::timescale(const QList<QByteArray>& args) {
    const QByteArray text = args.join();
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    const QByteArray number = text.left(digits);
    const QByteArray unit = text.mid(digits);
    const qint64 count = number == "1" ? 1 : number == "10" ? 10 : number == "100" ? 100 : 0;
    static const struct {
        const char* name;
        qint64 mul, div;
    } units[] = {{"s", 1000000000, 1}, {"ms", 1000000, 1}, {"us", 1000, 1},
                 {"ns", 1, 1},         {"ps", 1, 1000},    {"fs", 1, 1000000}};
    for (const auto& u : units) {
        if (count != 0 && unit == u.name) {
            scaleMul_ = u.mul * count;
            scaleDiv_ = u.div;
            if (scaleMul_ % scaleDiv_ == 0) {
                scaleMul_ /= scaleDiv_;
                scaleDiv_ = 1;
            }
            return true;
        }
    }
    return fail(QStringLiteral("the time scale \"%1\" is not 1, 10 or 100 of s, ms, us, ns, ps "
                               "or fs")
                    .arg(shown(text)));
}

bool VcdReader::variable(const QList<QByteArray>& args) {
    if (args.size() < 4) {
        return fail(QStringLiteral("$var needs a type, a width, a code and a name"));
    }
    const QByteArray& width = args[1];
    const QByteArray& id = args[2];
    const QByteArray& reference = args[3];
    wireNames_ << QString::fromUtf8(reference);
    for (auto [name, target] : {std::pair{&sclName_, &sclId_}, std::pair{&sdaName_, &sdaId_}}) {
        if (target->isEmpty() && sameName(reference, *name)) {
            if (width != "1") {
                return fail(QStringLiteral("%1 is %2 bits wide; a bus line is one bit")
                                .arg(*name, shown(width)));
            }
            *target = id;
        }
    }
    return true;
}

bool VcdReader::timeStamp(const QByteArray& w) {
    const QByteArrayView digits = QByteArrayView(w).sliced(1);
    bool ok = !digits.isEmpty() && digits.size() <= 18;
    for (const char c : digits) {
        ok = ok && c >= '0' && c <= '9';
    }
    if (!ok) {
        return fail(QStringLiteral("\"%1\" is not a time stamp").arg(shown(w)));
    }
    const qint64 units = digits.toLongLong();
    if (units > std::numeric_limits<qint64>::max() / scaleMul_) {
        return fail(QStringLiteral("the time %1 is too large").arg(shown(w)));
    }
    const qint64 time = units * scaleMul_ / scaleDiv_;
    if (timeSeen_ && time < time_) {
        return fail(QStringLiteral("the time goes back (%1 after %2 ns)").arg(shown(w)).arg(time_));
    }
    if (time != time_) {
        emitLevels();
    }
    time_ = time;
    timeSeen_ = true;
    return true;
}

void VcdReader::value(char level, QByteArrayView id) {
    const bool high = level != '0';
    if (id == sclId_) {
        changed_ = true;
        scl_ = high;
    }
    if (id == sdaId_) {
        changed_ = true;
        sda_ = high;
    }
}

void VcdReader::emitLevels() {
    if (!changed_) {
        return;
    }
    changed_ = false;
    if (emitted_ && scl_ == emittedScl_ && sda_ == emittedSda_) {
        return;
    }
    emitted_ = true;
    emittedScl_ = scl_;
    emittedSda_ = sda_;
    if (onLevels) {
        onLevels(time_, scl_, sda_);
    }
}

} // namespace qmf::trace
