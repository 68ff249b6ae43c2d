// SPDX-License-Identifier: GPL-3.0-or-later
// What the register list shows when it opens: the names on their pages and panels, and the
// initial state of every control.
#include "RegisterListFixture.h"
#include "core/chip/RegisterMap.h"
#include "gui/reglist/RegisterNameColours.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace qmf::test {
namespace {

using RegisterListLayout = RegisterListTest;

// Names of a panel, top to bottom and then left to right.
QList<int> namesIn(const QWidget* panel) {
    QList<QLabel*> labels = panel->findChildren<QLabel*>();
    std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) {
        return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
    });
    QList<int> addresses;
    for (QLabel* label : labels) {
        addresses << label->property("index").toInt();
    }
    return addresses;
}

TEST_F(RegisterListLayout, ShowsEveryListedRegisterOnceOnItsPage) {
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Register List"));
    auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), 0);
    const QStringList titles{QStringLiteral("Main"), QStringLiteral("GPIO /AIN"),
                             QStringLiteral("Temp"), QStringLiteral("Fans")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), titles[i]);
    }
    const auto all =
        window->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^visualdisplaytext_")));
    EXPECT_EQ(all.size(), 76);
    for (const quint8 address : RegisterMap::listedAddresses()) {
        QLabel* n = name(address);
        ASSERT_NE(n, nullptr);
        const RegisterEntry* entry = RegisterMap::lookup(address);
        EXPECT_EQ(n->text(), entry->Name);
        EXPECT_EQ(n->property("index").toInt(), address);
        EXPECT_EQ(colour(n), namecolour::workspace()) << entry->Name.toStdString();
        int page = -1;
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(n)) {
                page = i;
            }
        }
        ASSERT_GE(page, 0);
        EXPECT_EQ(tabs->tabText(page), registerTabTitle(entry->Tab)) << entry->Name.toStdString();
    }
}

TEST_F(RegisterListLayout, PanelsHoldTheirNamesTopToBottom) {
    open();
    const struct {
        const char* panel;
        QList<int> names;
    } panels[] = {
        {"SSPanel1", {0x00, 0x01, 0x0F, 0x0B, 0x0D, 0x0E}},
        {"SSPanel2", {}},
        {"SSPanel3",
         {0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E}},
        {"SSPanel4", {0x50, 0x58, 0xA8, 0xB0, 0xB8, 0x51, 0x59, 0xA9, 0xB1, 0xB9}},
        {"SSPanel8", {0x40, 0x30, 0x80, 0x88, 0x48, 0x98, 0x90, 0xA0}},
        {"SSPanel10", {0x41, 0x31, 0x81, 0x89, 0x49, 0x99, 0x91, 0xA1}},
        {"SSPanel5", {0x42, 0x32, 0x82, 0x8A, 0x4A, 0x9A, 0x92, 0xA2}},
        {"SSPanel7", {0x18, 0x60, 0x68, 0x70, 0x78, 0x1A, 0x10}},
        {"SSPanel9", {0x19, 0x61, 0x69, 0x71, 0x79, 0x1B, 0x11}},
        {"SSPanel11", {0x07, 0x08, 0x09}},
    };
    for (const auto& p : panels) {
        auto* panel = find<QFrame>(QLatin1String(p.panel));
        ASSERT_NE(panel, nullptr);
        showPageOf(panel);
        EXPECT_EQ(namesIn(panel), p.names) << p.panel;
    }
    // Temperature channel 0 at the left, the fan speed settings right of the fans.
    EXPECT_LT(find<QFrame>(QStringLiteral("SSPanel8"))->x(),
              find<QFrame>(QStringLiteral("SSPanel10"))->x());
    EXPECT_LT(find<QFrame>(QStringLiteral("SSPanel10"))->x(),
              find<QFrame>(QStringLiteral("SSPanel5"))->x());
    EXPECT_LT(find<QFrame>(QStringLiteral("SSPanel9"))->x(),
              find<QFrame>(QStringLiteral("SSPanel11"))->x());
}

TEST_F(RegisterListLayout, ControlsStartInTheirInitialState) {
    open();
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(digit(bit)->text(), QStringLiteral("0"));
        EXPECT_EQ(digit(bit)->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(digit(bit)->font().bold());
        EXPECT_EQ(bitName(bit)->text(), QStringLiteral("Bit %1").arg(bit));
    }
    // Bit 7 leftmost.
    EXPECT_LT(digit(7)->mapTo(window, QPoint()).x(), digit(0)->mapTo(window, QPoint()).x());
    EXPECT_EQ(bitName(8)->text(), QStringLiteral("Hex"));
    EXPECT_EQ(bitName(9)->text(), QStringLiteral("Dec"));
    EXPECT_EQ(field("HexTXT")->text(), QStringLiteral("00"));
    EXPECT_EQ(field("HexTXT")->maxLength(), 2);
    EXPECT_EQ(field("DecTXT")->text(), QStringLiteral("00"));
    EXPECT_EQ(field("DecTXT")->maxLength(), 3);
    for (const char* update : {"Command1", "Command2"}) {
        EXPECT_EQ(button(update)->toolTip(), QStringLiteral("Press to update"));
        EXPECT_TRUE(button(update)->text().isEmpty());
    }
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("Software Settings"));
    EXPECT_EQ(button("EasySetupCMD")->text(), QStringLiteral("EasySetup"));
    EXPECT_EQ(button("ContinuousReadCHK")->text(), QStringLiteral("ContinuousReadIsOff"));
    EXPECT_FALSE(button("ContinuousReadCHK")->isChecked());
    EXPECT_EQ(button("FastReadCHK")->text(), QStringLiteral("Fast Read is Off"));
    EXPECT_EQ(label("Label2")->text(), QStringLiteral("AddressPointer:"));
    EXPECT_EQ(label("Label3")->text(), QStringLiteral("Hex Value:"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("Decimal Value:"));
    for (const char* value : {"AddressPtrLLBL", "HexValueLBL", "DecimalValueLBL"}) {
        EXPECT_TRUE(label(value)->text().isEmpty());
    }
    auto* timer = find<QTimer>(QStringLiteral("RegisterListTimer"));
    EXPECT_EQ(timer->interval(), 200);
    EXPECT_FALSE(timer->isActive());
    // Opening reads nothing.
    EXPECT_TRUE(transfers().isEmpty());

    // The band bar holds its four bands in order.
    auto* bar = find<QFrame>(QStringLiteral("MainCoolBar"));
    int previous = -1;
    for (const char* band :
         {"Binary_Panel", "dec_hex_panel", "SoftwareSettingsPanel", "ReginfoPanel"}) {
        QWidget* b = find<QWidget>(QLatin1String(band));
        EXPECT_EQ(b->parentWidget(), bar);
        EXPECT_GT(b->x(), previous) << band;
        previous = b->x();
    }
    EXPECT_TRUE(find<QWidget>(QStringLiteral("Binary_Panel"))
                    ->isAncestorOf(find<QWidget>(QStringLiteral("SSPanel6"))));
}

// Every name and bit name fits its label in the window's natural size, with the longest bit
// names shown; the picture is saved when QMF_SCREENSHOT_DIR names a folder.
TEST_F(RegisterListLayout, NothingIsClippedAtTheNaturalSize) {
    chip()[0x50] = 0xA5;
    open();
    clickName(0x50); // AIN 0 Control has the longest bit names
    const QSize before = window->size();
    QCoreApplication::processEvents();
    // Room for the longest bit names is there from the start: selecting does not resize.
    EXPECT_EQ(window->sizeHint(), before);
    const auto fits = [](QLabel* l) {
        return l->width() >= l->sizeHint().width() && l->height() >= l->sizeHint().height() - 2;
    };
    for (int element = 0; element < 10; ++element) {
        EXPECT_TRUE(fits(bitName(element))) << bitName(element)->text().toStdString();
    }
    auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
    // The picture of the first page shows a selected name and one under the pointer.
    clickName(0x01);
    QTest::mouseMove(name(0x0D), name(0x0D)->rect().center());
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (QLabel* n : tabs->widget(page)->findChildren<QLabel*>()) {
            EXPECT_TRUE(fits(n)) << n->text().toStdString();
            EXPECT_TRUE(tabs->widget(page)->rect().contains(
                QRect(n->mapTo(tabs->widget(page), QPoint()), n->size())))
                << n->text().toStdString();
        }
        const QString folder = qEnvironmentVariable("QMF_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            window->grab().save(
                QDir(folder).filePath(QStringLiteral("Register_List_%1.png").arg(page)));
        }
    }
}

} // namespace
} // namespace qmf::test
