// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/Register_List.h"

#include "core/chip/RegisterMap.h"
#include "core/chip/SharedState.h"
#include "core/text/NumberText.h"
#include "gui/reglist/ClickableLabel.h"
#include "gui/reglist/RegisterListLayout.h"
#include "gui/reglist/RegisterNameColours.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qmf {

namespace {

// The names are drawn in grey, green and yellow, which read well only on a dark ground.
const QColor PageBackground(36, 40, 44);
const QColor PanelBackground(8, 10, 12);
const QColor PanelFrame(92, 100, 108);

QColor textColour(const QWidget* label) {
    return label->palette().color(QPalette::WindowText);
}

void setTextColour(QWidget* label, const QColor& colour) {
    if (textColour(label) == colour) {
        return;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// A register name's colour; selected names (dark green, yellow) are drawn bold as well, so the
// selection stands out on any screen.
void setNameColour(QWidget* label, const QColor& colour) {
    setTextColour(label, colour);
    const bool selected = colour == namecolour::DarkGreen || colour == namecolour::Yellow;
    if (label->font().bold() != selected) {
        QFont font = label->font();
        font.setBold(selected);
        label->setFont(font);
    }
}

void paintDark(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, PanelFrame);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Register_List::Register_List(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("Register_List"));
    setWindowTitle(QStringLiteral("Register List"));

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("RegisterListTimer"));
    timer_->setInterval(ReadIntervalMs);
    connect(timer_, &QTimer::timeout, this, &Register_List::timerTick);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    buildPages(tabs);
    tabs->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    bands_ = buildRegisterListBands(font());
    connectBands();
    layout->addWidget(bands_.bar);
    layout->addWidget(tabs, 1);
}

void Register_List::handle(const std::function<void()>& handler) {
    ctx_.errors.run(this, handler);
}

ClickableLabel* Register_List::makeName(quint8 address) {
    const RegisterEntry* entry = RegisterMap::lookup(address);
    auto* label = new ClickableLabel;
    label->setObjectName(QStringLiteral("visualdisplaytext_") + text::hex(address));
    label->setProperty("index", int(address));
    label->setText(entry ? entry->Name : QString());
    label->setToolTip(QStringLiteral("Address ") + text::hex(address));
    setNameColour(label, namecolour::workspace());
    // Room for the bold face of a selected name, so that selecting does not move the columns.
    QFont bold = label->font();
    bold.setBold(true);
    label->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(label->text()) + 2);
    connect(label, &ClickableLabel::clicked, this, [this, address](bool byKeyboard) {
        handle([this, address, byKeyboard] { selectRegister(address, !byKeyboard); });
    });
    connect(label, &ClickableLabel::hovered, this,
            [this, address] { handle([this, address] { pointerOnName(address); }); });
    connect(label, &ClickableLabel::unhovered, this,
            [this] { handle([this] { pointerOffNames(); }); });
    names_[address] = label;
    return label;
}

void Register_List::buildPages(QTabWidget* tabs) {
    for (const RegisterPageLayout& page : registerListPages()) {
        auto* pageWidget = new QWidget;
        paintDark(pageWidget, PageBackground);
        auto* pageLayout = new QVBoxLayout(pageWidget);
        pageLayout->setContentsMargins(10, 10, 10, 10);
        pageLayout->setSpacing(10);

        auto* panelRow = new QHBoxLayout;
        panelRow->setSpacing(10);
        for (const RegisterPanelLayout& panel : page.panels) {
            auto* frame = new QFrame;
            frame->setObjectName(panel.objectName);
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            paintDark(frame, PanelBackground);
            auto* grid = new QGridLayout(frame);
            grid->setContentsMargins(10, 8, 10, 8);
            grid->setHorizontalSpacing(18);
            grid->setVerticalSpacing(3);
            for (int column = 0; column < int(panel.columns.size()); ++column) {
                const auto& addresses = panel.columns[column];
                for (int row = 0; row < int(addresses.size()); ++row) {
                    grid->addWidget(makeName(addresses[row]), row, column);
                }
            }
            grid->setRowStretch(grid->rowCount(), 1);
            frame->setMinimumWidth(120);
            panelRow->addWidget(frame, 0);
        }
        panelRow->addStretch(1);
        pageLayout->addLayout(panelRow, 1);

        if (!page.onPage.empty()) {
            auto* pageRow = new QHBoxLayout;
            pageRow->setContentsMargins(10, 0, 10, 0);
            pageRow->setSpacing(24);
            for (const quint8 address : page.onPage) {
                pageRow->addWidget(makeName(address));
            }
            pageRow->addStretch(1);
            pageLayout->addLayout(pageRow);
        }
        tabs->addTab(pageWidget, registerTabTitle(page.tab));
    }
}

void Register_List::connectBands() {
    for (int bit = 0; bit < 8; ++bit) {
        connect(bands_.digits[bit], &ClickableLabel::clicked, this,
                [this, bit] { handle([this, bit] { flipBit(bit); }); });
    }
    const auto writeHex = [this] { handle([this] { writeHexEntry(); }); };
    const auto writeDec = [this] { handle([this] { writeDecimalEntry(); }); };
    connect(bands_.hexUpdate, &QPushButton::clicked, this, writeHex);
    connect(bands_.decUpdate, &QPushButton::clicked, this, writeDec);
    // Return in a field does what its button does.
    connect(bands_.hexText, &QLineEdit::returnPressed, this, writeHex);
    connect(bands_.decText, &QLineEdit::returnPressed, this, writeDec);
    connect(bands_.easySetup, &QPushButton::clicked, this,
            [this] { handle([this] { ctx_.open(QStringLiteral("AutoSet")); }); });
    connect(bands_.continuousRead, &QPushButton::toggled, this,
            [this] { handle([this] { continuousReadToggled(); }); });
    connect(bands_.fastRead, &QPushButton::toggled, this,
            [this] { handle([this] { fastReadToggled(); }); });
}

void Register_List::refreshView() {
    handle([this] { refresh(); });
}

void Register_List::timerTick() {
    ctx_.errors.run(
        this, [this] { refresh(); },
        [this] {
            timer_->stop();
            bands_.continuousRead->setChecked(false);
        });
}

void Register_List::selectRegister(quint8 address, bool underPointer) {
    SharedState& state = ctx_.state;
    state.CurrentRegisterIndex = address;
    const QColor selected = underPointer ? namecolour::Yellow : namecolour::DarkGreen;
    for (const quint8 listed : RegisterMap::listedAddresses()) {
        setNameColour(names_[listed], listed == address ? selected : namecolour::workspace());
    }
    refresh();
    if (const auto* bitNames = RegisterMap::bitNames(address)) {
        for (int bit = 7; bit >= 0; --bit) {
            bands_.bitNames[bit]->setText((*bitNames)[bit]);
        }
    }
}

void Register_List::pointerOnName(quint8 address) {
    for (const quint8 listed : RegisterMap::listedAddresses()) {
        QLabel* label = names_[listed];
        const QColor current = textColour(label);
        setNameColour(label, listed == address ? namecolour::pointerArrived(current)
                                               : namecolour::pointerLeft(current));
    }
}

void Register_List::pointerOffNames() {
    for (const quint8 listed : RegisterMap::listedAddresses()) {
        QLabel* label = names_[listed];
        setNameColour(label, namecolour::pointerLeft(textColour(label)));
    }
}

void Register_List::continuousReadToggled() {
    if (bands_.continuousRead->isChecked()) {
        bands_.continuousRead->setText(QStringLiteral("ContinuousReadIsOn"));
        timer_->start();
    } else {
        bands_.continuousRead->setText(QStringLiteral("ContinuousReadIsOff"));
        timer_->stop();
    }
}

void Register_List::fastReadToggled() {
    const bool fast = bands_.fastRead->isChecked();
    bands_.fastRead->setText(fast ? QStringLiteral("Fast Read is On")
                                  : QStringLiteral("Fast Read is Off"));
    // setInterval keeps a running timer running, at the new rate.
    timer_->setInterval(fast ? FastReadIntervalMs : ReadIntervalMs);
}

} // namespace qmf
