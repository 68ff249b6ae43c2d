// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/Register_List.h"

#include "core/chip/RegisterMap.h"
#include "core/chip/SharedState.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"
#include "gui/reglist/BitDiagramPanel.h"
#include "gui/reglist/ByteEntry.h"
#include "gui/reglist/ClickableLabel.h"
#include "gui/reglist/RegisterListLayout.h"
#include "gui/reglist/RegisterNameColours.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace qmf {

namespace {

// The names are drawn in grey, green and yellow, which read well only on a dark ground.
const QColor PageBackground(36, 40, 44);
const QColor PanelBackground(8, 10, 12);
const QColor PanelFrame(92, 100, 108);
const QColor DigitColour(0, 0, 255);
const QColor UpdateButtonColour(0, 160, 0);

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

// One band of the band bar: a raised panel with a grip at its left edge.
class CoolBand : public QFrame {
public:
    explicit CoolBand(const QString& name, QWidget* parent = nullptr) : QFrame(parent) {
        setObjectName(name);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
        setContentsMargins(GripWidth, 0, 0, 0);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const int top = 5;
        const int bottom = height() - 6;
        for (int x : {4, 7}) {
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(x, top, x, bottom);
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawLine(x + 1, top, x + 1, bottom);
        }
    }

private:
    static constexpr int GripWidth = 10;
};

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// A small green button without caption that writes the entry beside it.
QPushButton* makeUpdateButton(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("Press to update"));
    button->setAccessibleName(accessibleName);
    button->setFixedSize(18, 18);
    button->setStyleSheet(
        QStringLiteral(
            "QPushButton { background: %1; border: 1px solid #205020; border-radius: 3px; }"
            "QPushButton:hover { background: #20c020; }"
            "QPushButton:pressed { background: #006000; }"
            "QPushButton:focus { border: 2px solid #103010; }")
            .arg(UpdateButtonColour.name()));
    return button;
}

QPushButton* makeToggle(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setCheckable(true);
    return button;
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
    layout->addWidget(buildCoolBar());
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

QWidget* Register_List::buildCoolBar() {
    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("MainCoolBar"));
    bar->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(buildBinaryPanel());
    layout->addWidget(buildEntryPanel());
    layout->addWidget(buildSoftwareSettingsPanel());
    layout->addWidget(buildRegisterInfoPanel(), 1);
    return bar;
}

QWidget* Register_List::buildBinaryPanel() {
    auto* band = new CoolBand(QStringLiteral("Binary_Panel"));
    std::array<QWidget*, 8> digits{};
    std::array<QWidget*, 8> names{};
    QFont digitFont = font();
    digitFont.setBold(true);
    digitFont.setPointSizeF(digitFont.pointSizeF() * 2.0);
    for (int bit = 0; bit < 8; ++bit) {
        auto* digit = new ClickableLabel;
        digit->setObjectName(QStringLiteral("bit%1").arg(bit));
        digit->setAccessibleName(QStringLiteral("Bit %1").arg(bit));
        digit->setToolTip(QStringLiteral("Bit %1: click to flip it in the chip").arg(bit));
        digit->setText(QStringLiteral("0"));
        digit->setFont(digitFont);
        digit->setAlignment(Qt::AlignCenter);
        digit->setMinimumWidth(QFontMetrics(digitFont).horizontalAdvance(QLatin1Char('0')) + 10);
        setTextColour(digit, DigitColour);
        connect(digit, &ClickableLabel::clicked, this,
                [this, bit] { handle([this, bit] { flipBit(bit); }); });
        digits_[bit] = digit;
        digits[bit] = digit;

        auto* name = makeLabel(QStringLiteral("bitname_%1").arg(bit),
                               QStringLiteral("Bit %1").arg(bit), nullptr);
        name->setProperty("index", bit);
        bitNames_[bit] = name;
        names[bit] = name;
    }
    // Keep room for the longest bit names of each side so that selecting does not resize.
    int widest[2] = {0, 0};
    for (const RegisterEntry& entry : RegisterMap::entries()) {
        if (entry.BitNames) {
            for (int bit = 0; bit < 8; ++bit) {
                int& side = widest[bit >= 4 ? 1 : 0];
                side = std::max(
                    side, bitNames_[bit]->fontMetrics().horizontalAdvance((*entry.BitNames)[bit]));
            }
        }
    }
    for (int bit = 0; bit < 8; ++bit) {
        bitNames_[bit]->setMinimumWidth(widest[bit >= 4 ? 1 : 0]);
        bitNames_[bit]->setAlignment((bit >= 4 ? Qt::AlignRight : Qt::AlignLeft) |
                                     Qt::AlignVCenter);
    }
    auto* diagram = new BitDiagramPanel(
        QStringLiteral("Press any of these Digits to write to the QMF4150"), digits, names);
    diagram->setObjectName(QStringLiteral("SSPanel6"));
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(diagram);
    return band;
}

QWidget* Register_List::buildEntryPanel() {
    auto* band = new CoolBand(QStringLiteral("dec_hex_panel"));
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);

    const auto entry = [band](const QString& name, int maxLength, const QString& accessible) {
        auto* field = new QLineEdit(QStringLiteral("00"), band);
        field->setObjectName(name);
        field->setMaxLength(maxLength);
        field->setAccessibleName(accessible);
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14);
        return field;
    };
    hexText_ = entry(QStringLiteral("HexTXT"), 2, QStringLiteral("Hexadecimal value"));
    decText_ = entry(QStringLiteral("DecTXT"), 3, QStringLiteral("Decimal value"));
    auto* command1 = makeUpdateButton(QStringLiteral("Command1"),
                                      QStringLiteral("Write hexadecimal value"), band);
    auto* command2 =
        makeUpdateButton(QStringLiteral("Command2"), QStringLiteral("Write decimal value"), band);

    const QStringList captions{QStringLiteral("Hex"), QStringLiteral("Dec")};
    for (int i = 0; i < 2; ++i) {
        auto* label = makeLabel(QStringLiteral("bitname_%1").arg(8 + i), captions[i], band);
        label->setProperty("index", 8 + i);
        label->setBuddy(i == 0 ? hexText_ : decText_);
        bitNames_[8 + i] = label;
    }
    grid->addWidget(bitNames_[8], 0, 0);
    grid->addWidget(hexText_, 0, 1);
    grid->addWidget(command1, 0, 2);
    grid->addWidget(bitNames_[9], 1, 0);
    grid->addWidget(decText_, 1, 1);
    grid->addWidget(command2, 1, 2);
    grid->setRowStretch(2, 1);

    const auto writeHex = [this] { handle([this] { writeHexEntry(); }); };
    const auto writeDec = [this] { handle([this] { writeDecimalEntry(); }); };
    connect(command1, &QPushButton::clicked, this, writeHex);
    connect(command2, &QPushButton::clicked, this, writeDec);
    // Return in a field does what its button does.
    connect(hexText_, &QLineEdit::returnPressed, this, writeHex);
    connect(decText_, &QLineEdit::returnPressed, this, writeDec);
    return band;
}

QWidget* Register_List::buildSoftwareSettingsPanel() {
    auto* band = new CoolBand(QStringLiteral("SoftwareSettingsPanel"));
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    auto* heading = makeLabel(QStringLiteral("Label1"), QStringLiteral("Software Settings"), band);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* easySetup = new QPushButton(QStringLiteral("EasySetup"), band);
    easySetup->setObjectName(QStringLiteral("EasySetupCMD"));
    easySetup->setToolTip(QStringLiteral("Write the auto-set table to the chip"));
    connect(easySetup, &QPushButton::clicked, this,
            [this] { handle([this] { ctx_.open(QStringLiteral("AutoSet")); }); });

    continuousRead_ = makeToggle(QStringLiteral("ContinuousReadCHK"),
                                 QStringLiteral("ContinuousReadIsOff"), band);
    connect(continuousRead_, &QPushButton::toggled, this,
            [this] { handle([this] { continuousReadToggled(); }); });
    fastRead_ = makeToggle(QStringLiteral("FastReadCHK"), QStringLiteral("Fast Read is Off"), band);
    fastRead_->setToolTip(QStringLiteral("Continuous reading every 50 ms instead of every 200 ms"));
    connect(fastRead_, &QPushButton::toggled, this,
            [this] { handle([this] { fastReadToggled(); }); });

    layout->addWidget(heading);
    layout->addWidget(easySetup);
    layout->addWidget(continuousRead_);
    layout->addWidget(fastRead_);
    layout->addStretch(1);
    return band;
}

QWidget* Register_List::buildRegisterInfoPanel() {
    auto* band = new CoolBand(QStringLiteral("ReginfoPanel"));
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    QFont valueFont = font();
    valueFont.setBold(true);
    const struct {
        const char* caption;
        const char* captionName;
        const char* valueName;
        QLabel** value;
    } rows[] = {
        {"AddressPointer:", "Label2", "AddressPtrLLBL", &addressLabel_},
        {"Hex Value:", "Label3", "HexValueLBL", &hexValueLabel_},
        {"Decimal Value:", "Label4", "DecimalValueLBL", &decimalValueLabel_},
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* caption =
            makeLabel(QString::fromLatin1(r.captionName), QString::fromLatin1(r.caption), band);
        auto* value = makeLabel(QString::fromLatin1(r.valueName), QString(), band);
        value->setFont(valueFont);
        value->setAccessibleName(QString::fromLatin1(r.caption).chopped(1));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        grid->addWidget(caption, row, 0, Qt::AlignRight);
        grid->addWidget(value, row, 1);
        *r.value = value;
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return band;
}

void Register_List::refreshView() {
    handle([this] { refresh(); });
}

void Register_List::timerTick() {
    ctx_.errors.run(
        this, [this] { refresh(); },
        [this] {
            timer_->stop();
            continuousRead_->setChecked(false);
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
            bitNames_[bit]->setText((*bitNames)[bit]);
        }
    }
}

void Register_List::refresh() {
    SharedState& state = ctx_.state;
    state.AddressPointer = state.CurrentRegisterIndex;
    ReadRegister(state);
    const int value = state.DataRead;
    for (int bit = 7; bit >= 0; --bit) {
        digits_[bit]->setText((value >> bit) & 1 ? QStringLiteral("1") : QStringLiteral("0"));
    }
    addressLabel_->setText(text::hex(quint32(state.CurrentRegisterIndex)));
    hexValueLabel_->setText(text::hex(quint32(value)));
    decimalValueLabel_->setText(QString::number(value));
}

void Register_List::flipBit(int bit) {
    SharedState& state = ctx_.state;
    state.AddressPointer = state.CurrentRegisterIndex;
    ReadRegister(state);
    // The displayed digit decides, so a stale digit is set to the opposite of what the user sees.
    ClickableLabel* digit = digits_[bit];
    const QString shown = digit->text();
    if (shown != QLatin1String("1")) {
        digit->setText(QStringLiteral("1"));
        state.DataToWrite = state.DataRead | (1 << bit);
    } else {
        digit->setText(QStringLiteral("0"));
        state.DataToWrite = state.DataRead & (255 - (1 << bit));
    }
    try {
        WriteRegister(state);
    } catch (...) {
        // The digit must not show a bit the chip never received.
        digit->setText(shown);
        throw;
    }
    ReadRegister(state);
}

void Register_List::writeHexEntry() {
    SharedState& state = ctx_.state;
    state.DataToWrite = hexEntryValue(hexText_->text());
    state.AddressPointer = state.CurrentRegisterIndex;
    WriteRegister(state);
}

void Register_List::writeDecimalEntry() {
    const std::optional<qint32> value = decimalEntryValue(decText_->text());
    if (!value) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation,
                             QStringLiteral("There was a Problem!"),
                             QStringLiteral("A register holds 0 to 255; the negative value \"%1\" "
                                            "was not written.")
                                 .arg(decText_->text().trimmed()));
        return;
    }
    SharedState& state = ctx_.state;
    state.DataToWrite = *value;
    state.AddressPointer = state.CurrentRegisterIndex;
    WriteRegister(state);
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
    if (continuousRead_->isChecked()) {
        continuousRead_->setText(QStringLiteral("ContinuousReadIsOn"));
        timer_->start();
    } else {
        continuousRead_->setText(QStringLiteral("ContinuousReadIsOff"));
        timer_->stop();
    }
}

void Register_List::fastReadToggled() {
    const bool fast = fastRead_->isChecked();
    fastRead_->setText(fast ? QStringLiteral("Fast Read is On")
                            : QStringLiteral("Fast Read is Off"));
    // setInterval keeps a running timer running, at the new rate.
    timer_->setInterval(fast ? FastReadIntervalMs : ReadIntervalMs);
}

} // namespace qmf
