// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wizards/RegisterBits.h"

#include <QList>
#include <QObject>
#include <QStringList>

class QCheckBox;
class QWidget;

namespace qmf {

struct AppContext;
class Fan;

// Four check boxes that behave as one choice of four, owning a two-bit field of one register
// (the PWM drive frequency or the tachometer oscillator frequency of a fan).
//
// Every state change of a box is a click event. On one: unless the group is busy, the group
// marks itself busy, unchecks all four boxes, checks the one clicked, clears the busy mark, and
// writes the box's index into the field by one read-modify-write; the click events its own
// changes raise are ignored. Clicking the checked box thus keeps it checked and writes the same
// bits again. A group given a fan channel ends every click event, ignored ones included, by
// letting the fan re-read its oscillator frequency, so later speed readings use the new one.
// After a failed write the boxes show the chip's field again.
class ExclusiveBoxGroup : public QObject {
    Q_OBJECT
public:
    ExclusiveBoxGroup(AppContext& ctx, const QString& namePrefix, const QStringList& captions,
                      quint8 address, RegisterField field, Fan* refreshedFan, QWidget* parent);

    // Reads the field and checks the box of its value (running the click event when the box was
    // not checked yet).
    void load();

    const QList<QCheckBox*>& boxes() const { return boxes_; }
    bool busy() const { return busy_ != 0; }

private:
    void clicked(int index);
    void showChipChoice();

    AppContext& ctx_;
    QList<QCheckBox*> boxes_;
    quint8 address_;
    RegisterField field_;
    Fan* fan_;
    qint16 busy_ = 0;    // -1 while the group changes its own boxes
    int chipIndex_ = -1; // the field as last read or written
};

} // namespace qmf
