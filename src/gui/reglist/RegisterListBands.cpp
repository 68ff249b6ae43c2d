// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/RegisterListBands.h"

#include "core/chip/RegisterMap.h"
#include "gui/reglist/BitDiagramPanel.h"
#include "gui/reglist/ClickableLabel.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qmf {

namespace {

const QColor DigitColour(0, 0, 255);
const QColor UpdateButtonColour(0, 160, 0);

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

QWidget* buildBinaryPanel(RegisterListBands& b, const QFont& font) {
    auto* band = new CoolBand(QStringLiteral("Binary_Panel"));
    std::array<QWidget*, 8> digits{};
    std::array<QWidget*, 8> names{};
    QFont digitFont = font;
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
        QPalette palette = digit->palette();
        palette.setColor(QPalette::WindowText, DigitColour);
        digit->setPalette(palette);
        b.digits[bit] = digit;
        digits[bit] = digit;

        auto* name = makeLabel(QStringLiteral("bitname_%1").arg(bit),
                               QStringLiteral("Bit %1").arg(bit), nullptr);
        name->setProperty("index", bit);
        b.bitNames[bit] = name;
        names[bit] = name;
    }
    // Keep room for the longest bit names of each side so that selecting does not resize.
    int widest[2] = {0, 0};
    for (const RegisterEntry& entry : RegisterMap::entries()) {
        if (entry.BitNames) {
            for (int bit = 0; bit < 8; ++bit) {
                int& side = widest[bit >= 4 ? 1 : 0];
                side = std::max(
                    side, b.bitNames[bit]->fontMetrics().horizontalAdvance((*entry.BitNames)[bit]));
            }
        }
    }
    for (int bit = 0; bit < 8; ++bit) {
        b.bitNames[bit]->setMinimumWidth(widest[bit >= 4 ? 1 : 0]);
        b.bitNames[bit]->setAlignment((bit >= 4 ? Qt::AlignRight : Qt::AlignLeft) |
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

QWidget* buildEntryPanel(RegisterListBands& b) {
    auto* band = new CoolBand(QStringLiteral("dec_hex_panel"));
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);

    // No length limit: a limit would cut pasted text short ("1000" would become "100") and
    // then write the rest; the whole text goes to the strict reading, which refuses it.
    const auto entry = [band](const QString& name, const QString& accessible) {
        auto* field = new QLineEdit(QStringLiteral("00"), band);
        field->setObjectName(name);
        field->setAccessibleName(accessible);
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14);
        return field;
    };
    b.hexText = entry(QStringLiteral("HexTXT"), QStringLiteral("Hexadecimal value"));
    b.decText = entry(QStringLiteral("DecTXT"), QStringLiteral("Decimal value"));
    b.hexUpdate = makeUpdateButton(QStringLiteral("Command1"),
                                   QStringLiteral("Write hexadecimal value"), band);
    b.decUpdate =
        makeUpdateButton(QStringLiteral("Command2"), QStringLiteral("Write decimal value"), band);

    const QStringList captions{QStringLiteral("Hex"), QStringLiteral("Dec")};
    for (int i = 0; i < 2; ++i) {
        auto* label = makeLabel(QStringLiteral("bitname_%1").arg(8 + i), captions[i], band);
        label->setProperty("index", 8 + i);
        label->setBuddy(i == 0 ? b.hexText : b.decText);
        b.bitNames[8 + i] = label;
    }
    grid->addWidget(b.bitNames[8], 0, 0);
    grid->addWidget(b.hexText, 0, 1);
    grid->addWidget(b.hexUpdate, 0, 2);
    grid->addWidget(b.bitNames[9], 1, 0);
    grid->addWidget(b.decText, 1, 1);
    grid->addWidget(b.decUpdate, 1, 2);
    grid->setRowStretch(2, 1);
    return band;
}

QWidget* buildSoftwareSettingsPanel(RegisterListBands& b) {
    auto* band = new CoolBand(QStringLiteral("SoftwareSettingsPanel"));
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    auto* heading = makeLabel(QStringLiteral("Label1"), QStringLiteral("Software Settings"), band);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    b.easySetup = new QPushButton(QStringLiteral("EasySetup"), band);
    b.easySetup->setObjectName(QStringLiteral("EasySetupCMD"));
    b.easySetup->setToolTip(QStringLiteral("Write the auto-set table to the chip"));
    b.continuousRead = makeToggle(QStringLiteral("ContinuousReadCHK"),
                                  QStringLiteral("ContinuousReadIsOff"), band);
    b.fastRead =
        makeToggle(QStringLiteral("FastReadCHK"), QStringLiteral("Fast Read is Off"), band);
    b.fastRead->setToolTip(
        QStringLiteral("Continuous reading every 50 ms instead of every 200 ms"));

    layout->addWidget(heading);
    layout->addWidget(b.easySetup);
    layout->addWidget(b.continuousRead);
    layout->addWidget(b.fastRead);
    layout->addStretch(1);
    return band;
}

QWidget* buildRegisterInfoPanel(RegisterListBands& b, const QFont& font) {
    auto* band = new CoolBand(QStringLiteral("ReginfoPanel"));
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    QFont valueFont = font;
    valueFont.setBold(true);
    const struct {
        const char* caption;
        const char* captionName;
        const char* valueName;
        QLabel** value;
    } rows[] = {
        {"AddressPointer:", "Label2", "AddressPtrLLBL", &b.addressLabel},
        {"Hex Value:", "Label3", "HexValueLBL", &b.hexValueLabel},
        {"Decimal Value:", "Label4", "DecimalValueLBL", &b.decimalValueLabel},
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

} // namespace

RegisterListBands buildRegisterListBands(const QFont& font) {
    RegisterListBands bands;
    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("MainCoolBar"));
    bar->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(buildBinaryPanel(bands, font));
    layout->addWidget(buildEntryPanel(bands));
    layout->addWidget(buildSoftwareSettingsPanel(bands));
    layout->addWidget(buildRegisterInfoPanel(bands, font), 1);
    bands.bar = bar;
    return bands;
}

} // namespace qmf
