// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/FanConfigPages.h"

#include "gui/wizards/BitCheckBox.h"
#include "gui/wizards/SharedPages.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qmf {

namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

FaultActionPage::FaultActionPage(AppContext& ctx, QWidget* parent) : WizardPage(parent) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("FanFaultTab"));
    tabs->addTab(buildTab(ctx, 0, fans_[0]), QStringLiteral("Fan 1"));
    tabs->addTab(buildTab(ctx, 1, fans_[1]), QStringLiteral("Fan 2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
    layout->addStretch(1);
}

QWidget* FaultActionPage::buildTab(AppContext& ctx, int fan, FanBoxes& boxes) {
    static const char* const captions[8] = {"Generate CFAULT",
                                            "Generate INT",
                                            "Generate CFAULT",
                                            "Generate INT",
                                            "Run fans at Alarm speed",
                                            "Generate FAULT",
                                            "Run Fans at hot-plug speed",
                                            "Run Fans at alarm speed"};
    auto* tab = new QWidget;
    const QString prefix = QStringLiteral("Fan%1FaultCHK").arg(fan + 1);
    const auto control = quint8(0x18 + fan);
    for (int bit = 0; bit < 8; ++bit) {
        auto* box = new BitCheckBox(ctx, QStringLiteral("%1_%2").arg(prefix).arg(bit),
                                    QString::fromLatin1(captions[bit]), control, quint8(bit), tab);
        boxes.fault.append(box);
    }
    boxes.priority =
        new BitCheckBox(ctx, QStringLiteral("Fan%1CFaultPriorityCHK").arg(fan + 1),
                        QStringLiteral("Hot-Plug Priority"), quint8(0x10 + fan), 5, tab);

    // The boxes sit under the event they answer.
    struct Event {
        const char* text;
        QList<QCheckBox*> members;
    };
    const Event events[] = {
        {"Fan Tach failure or fault pin is low", {boxes.fault[0], boxes.fault[1], boxes.fault[5]}},
        {"Fan has been unplugged", {boxes.fault[2], boxes.fault[3]}},
        {"CFAULT has been pulled low", {boxes.priority, boxes.fault[6], boxes.fault[7]}},
        {"Over-temp detected in sleep mode", {boxes.fault[4]}},
    };
    auto* grid = new QGridLayout(tab);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (const Event& event : events) {
        const QString text = QString::fromLatin1(event.text);
        if (row > 0) {
            grid->setRowMinimumHeight(row++, 8);
        }
        grid->addWidget(heading(text, tab), row++, 0, 1, 2);
        for (QCheckBox* box : event.members) {
            box->setAccessibleDescription(text);
            grid->addWidget(box, row++, 1);
        }
    }
    grid->setColumnMinimumWidth(0, 12);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return tab;
}

void FaultActionPage::load() {
    for (int bit = 0; bit < 8; ++bit) {
        for (FanBoxes& fan : fans_) {
            fan.fault[bit]->load();
            fan.priority->load();
        }
    }
}

MaskPage::MaskPage(AppContext& ctx, Kind kind, QWidget* parent) : WizardPage(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    layout->addLayout(grid);

    auto add = [&](MaskFrame* frame, int columns) {
        const int index = int(frames_.size());
        grid->addWidget(frame, index / columns, index % columns);
        frames_.append(frame);
    };

    switch (kind) {
    case FanFault:
        for (int fan = 1; fan <= 2; ++fan) {
            add(new MaskFrame(
                    ctx, QStringLiteral("Fan %1 (h2%2)").arg(fan).arg(fan - 1),
                    QStringLiteral("If there is a Fan %1 fault (Tach or Pin2/23) then..").arg(fan),
                    QStringLiteral("FanChk%1").arg(fan),
                    {QStringLiteral("Drive Fan 1 to  Alarm Speed (a)"),
                     QStringLiteral("Drive Fan 2 to  Alarm Speed (b)")},
                    quint8(0x20 + fan - 1), this),
                2);
        }
        layout->addSpacing(8);
        layout->addWidget(heading(QStringLiteral("Description:"), this));
        layout->addWidget(paragraph(
            QStringLiteral(
                "(a) If a fault (Tach or Pin2/23) is detected on FanX, then Fan 1 will be "
                "driven to Alarm Speed when this bit is set."),
            this));
        layout->addWidget(paragraph(
            QStringLiteral(
                "(b) If a fault (Tach or Pin2/23) is detected on FanX, then Fan 2 will be "
                "driven to Alarm Speed when this bit is set."),
            this));
        break;
    case Gpio:
        for (int gpio = 0; gpio < 7; ++gpio) {
            const auto address = quint8(0x38 + gpio);
            add(new MaskFrame(ctx,
                              QStringLiteral("GPIO%1(h%2)")
                                  .arg(gpio)
                                  .arg(QString::number(address, 16).toUpper()),
                              QStringLiteral("GPIO%1 is asserted").arg(gpio),
                              QStringLiteral("GPIO%1CHK").arg(gpio),
                              {QStringLiteral("Set Fan1 to AlrmSpeed (a)"),
                               QStringLiteral("Set Fan2 to AlrmSpeed (b)")},
                              address, this),
                3);
        }
        layout->addSpacing(8);
        layout->addWidget(
            paragraph(QStringLiteral(
                          "(a) If GPIOX is asserted such that fans should be driven at Alarm Speed "
                          "then Fan1 will be set to this speed when this bit is set."),
                      this));
        layout->addWidget(
            paragraph(QStringLiteral(
                          "(b) If GPIOX is asserted such that fans should be driven at Alarm Speed "
                          "then Fan2 will be set to this speed when this bit is set."),
                      this));
        break;
    case Ain:
        for (int ain = 0; ain < 2; ++ain) {
            add(new MaskFrame(ctx, QStringLiteral("Ain %1 (Reg 5%2h)").arg(ain).arg(8 + ain),
                              QStringLiteral("On Ain %1 out of limit event").arg(ain),
                              QStringLiteral("Ain%1CHK").arg(ain),
                              {QStringLiteral("Set Fan 1 to Alarm Speed"),
                               QStringLiteral("Set Fan 2 to Alarm Speed")},
                              quint8(0x58 + ain), this),
                2);
        }
        layout->addSpacing(8);
        layout->addWidget(
            paragraph(QStringLiteral(
                          "If an Ain channel out of limit event is generated such that fans should "
                          "be driven at Alarm Speed then the coresponding fan will be set to this "
                          "speed when this bit is set."),
                      this));
        break;
    }
    layout->addStretch(1);
}

void MaskPage::load() {
    for (MaskFrame* frame : frames_) {
        frame->load();
    }
}

} // namespace qmf
