// SPDX-License-Identifier: GPL-3.0-or-later
// The register list editor on the recording board: names, pages and colours, selecting, flipping
// bits, entering bytes, continuous reading.
#include "core/chip/RegisterMap.h"
#include "core/text/ByteEntryTable.h"
#include "core/text/ByteText.h"
#include "core/text/NumberText.h"
#include "gui/reglist/RegisterNameColours.h"
#include "gui/reglist/Register_List.h"
#include "gui/services/UserDialogs.h"
#include "gui/support/TestContext.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

const QColor BrightGreen(0, 255, 0), DarkGreen(0, 128, 0), Yellow(255, 255, 0);
const QColor Workspace = namecolour::workspace();
const QString DefaultBitNames = u"Bit 7, Bit 6, Bit 5, Bit 4, Bit 3, Bit 2, Bit 1, Bit 0"_s;
const QString MainStatusBitNames = u"Thermal Event, GPIO/AIN Event, HotPlug/Fan Fault, In Hot Plug "
                                   u"Speed, In Alarm Speed, CFAULT out, CFAULT in, INT"_s;

// Opens Register_List through the window registry and finds its controls by name.
class RegisterList : public ::testing::Test {
protected:
    explicit RegisterList(TestContext::BoardKind board = TestContext::Recording) : t(board) {}
    ~RegisterList() override { t.windows.destroyAll(); }

    Register_List& open() {
        window = &t.windows.show<Register_List>(t.ctx);
        window->resize(window->sizeHint());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }
    template <class T = QLabel> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QString text(const QString& label) const { return find(label)->text(); }
    // The texts of the labels pattern.arg(7) down to pattern.arg(0), joined.
    QString texts(const QString& pattern, const QString& separator = {}) const {
        QStringList list;
        for (int i = 7; i >= 0; --i) {
            list << text(pattern.arg(i));
        }
        return list.join(separator);
    }
    QString bitNames() const { return texts(u"bitname_%1"_s, u", "_s); }
    // The selected register as shown: "address hex decimal digits", digits from bit 7 down.
    QString shown() const {
        return u"%1 %2 %3 %4"_s.arg(text(u"AddressPtrLLBL"_s), text(u"HexValueLBL"_s),
                                    text(u"DecimalValueLBL"_s), texts(u"bit%1"_s));
    }
    QLabel* name(int address) const { return find(u"visualdisplaytext_"_s + text::hex(address)); }
    QLabel* digit(int bit) const { return find(u"bit%1"_s.arg(bit)); }
    QAbstractButton* button(const QString& name) const { return find<QAbstractButton>(name); }
    QTabWidget* tabs() const { return find<QTabWidget>(u"SSTab1"_s); }

    // Shows the page that holds the widget.
    void showPageOf(QWidget* w) {
        for (int i = 0; i < tabs()->count(); ++i) {
            if (tabs()->widget(i)->isAncestorOf(w)) {
                tabs()->setCurrentIndex(i);
            }
        }
    }
    void clickName(int address) {
        showPageOf(name(address));
        QTest::mouseClick(name(address), Qt::LeftButton);
    }
    // Writes the text through the entry field's button (Command1 for HexTXT, Command2 for DecTXT).
    void enter(const QString& field, const QString& value) {
        find<QLineEdit>(field)->setText(value);
        QTest::mouseClick(button(field == u"HexTXT"_s ? u"Command1"_s : u"Command2"_s),
                          Qt::LeftButton);
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    QStringList transfers() const { return t.recording()->transfers(); }

    QTimer* timer() const { return find<QTimer>(u"RegisterListTimer"_s); }
    QAbstractButton* continuousRead() const { return button(u"ContinuousReadCHK"_s); }
    // Names of a panel, top to bottom and then left to right.
    static QList<int> namesIn(const QWidget* panel) {
        QList<QLabel*> labels = panel->findChildren<QLabel*>();
        std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) {
            return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
        });
        QList<int> addresses;
        for (QLabel* label : labels) {
            addresses << label->property("index").toInt();
        }
        return addresses;
    }
    // Moves the pointer onto the widget, off any register name it holds.
    void pointTo(QWidget* w) {
        showPageOf(w);
        const QWidget* child = w->childAt(w->rect().center());
        const bool onName = child && child->objectName().startsWith(u"visualdisplay"_s);
        QTest::mouseMove(w, onName ? w->rect().bottomRight() - QPoint(2, 2) : w->rect().center());
        QCoreApplication::processEvents();
    }
    // The names not in the workspace colour, in address order, e.g. "D dark, E bright".
    QString coloured() const {
        QStringList list;
        for (const quint8 address : RegisterMap::listedAddresses()) {
            QLabel* n = name(address); // a missing name has failed already; it shows as "#000000"
            const QColor c = n ? n->palette().color(QPalette::WindowText) : QColor(Qt::black);
            if (c != Workspace) {
                list << text::hex(address) + (c == BrightGreen ? u" bright"_s
                                              : c == DarkGreen ? u" dark"_s
                                              : c == Yellow    ? u" yellow"_s
                                                               : c.name());
            }
        }
        return list.join(u", "_s);
    }

    TestContext t;
    QPointer<Register_List> window;
};

// The same on the simulated chip, whose read-only registers keep their value when written.
class RegisterListOnTheChip : public RegisterList {
protected:
    RegisterListOnTheChip() : RegisterList(TestContext::Simulated) {}
};

TEST_F(RegisterList, OpensWithEveryListedRegisterOnItsPageAndPanelAndNothingSelected) {
    t.state.CurrentRegisterIndex = 0x90; // an earlier selection is not highlighted
    open();
    EXPECT_EQ(shown(), u"   00000000"_s); // nothing read yet
    EXPECT_EQ(coloured(), QString());
    EXPECT_TRUE(transfers().isEmpty());
    for (const quint8 address : RegisterMap::listedAddresses()) {
        showPageOf(name(address));
        EXPECT_EQ(tabs()->tabText(tabs()->currentIndex()),
                  registerTabTitle(RegisterMap::lookup(address)->Tab));
    }
    // Panels left to right on each page, their names top to bottom.
    const std::pair<const char*, QList<int>> panels[] = {
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
    const QWidget* previous = nullptr;
    for (const auto& [panelName, names] : panels) {
        QWidget* panel = find<QWidget>(QLatin1String(panelName));
        showPageOf(panel);
        EXPECT_EQ(namesIn(panel), names) << panelName;
        if (previous && previous->parentWidget() == panel->parentWidget()) {
            EXPECT_LT(previous->x(), panel->x()) << panelName;
        }
        previous = panel;
    }
    // Room for the longest bit names is there from the start: selecting does not resize.
    const QSize before = window->size();
    clickName(0x50); // AIN 0 Control has the longest bit names
    QCoreApplication::processEvents();
    EXPECT_EQ(window->sizeHint(), before);
    for (int element = 0; element < 10; ++element) {
        QLabel* l = find(u"bitname_%1"_s.arg(element));
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
    }
}

TEST_F(RegisterList, ClickingANameMakesItTheOnlyColouredOneOnEveryPage) {
    open();
    clickName(0x00);
    EXPECT_EQ(coloured(), u"0 yellow"_s);
    clickName(0x98);
    EXPECT_EQ(coloured(), u"98 yellow"_s); // the one selected before is back to the workspace
    t.recording()->clearLog();
    for (int page : {0, 3, 2}) {
        tabs()->setCurrentIndex(page);
    }
    EXPECT_TRUE(transfers().isEmpty()); // switching pages touches no register
    EXPECT_TRUE(coloured().startsWith(u"98 "_s));
    // From the keyboard the pointer is elsewhere: selected only.
    name(0x01)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(name(0x01), Qt::Key_Space);
    EXPECT_EQ(t.state.CurrentRegisterIndex, 0x01);
    EXPECT_EQ(coloured(), u"1 dark"_s);
}

// Selected and under the pointer is yellow; moving on to another name makes it dark green and the
// other one bright green; any surface other than a name (also the panels once left alone) turns
// bright green back to the workspace colour and yellow to dark green.
TEST_F(RegisterList, ThePointerHighlightsTheNameUnderItUntilItLeavesTheNames) {
    open();
    pointTo(name(0x28));
    pointTo(name(0x38));
    EXPECT_EQ(coloured(), u"38 bright"_s);
    EXPECT_TRUE(transfers().isEmpty()); // pointing reads nothing
    for (QWidget* surface : {static_cast<QWidget*>(tabs()->tabBar()), find<QWidget>(u"SSPanel11"_s),
                             find<QWidget>(u"SSPanel6"_s), find<QWidget>(u"bit3"_s)}) {
        SCOPED_TRACE(surface->objectName().toStdString());
        clickName(0x0D);
        pointTo(name(0x0E));
        EXPECT_EQ(coloured(), u"D dark, E bright"_s);
        pointTo(surface);
        EXPECT_EQ(coloured(), u"D dark"_s);
        pointTo(name(0x0D));
        EXPECT_EQ(coloured(), u"D yellow"_s);
        pointTo(surface);
        EXPECT_EQ(coloured(), u"D dark"_s);
    }
}

TEST_F(RegisterList, SelectingReadsTheRegisterAndShowsItsValueAndBitNames) {
    chip()[0x00] = 0xB2;
    open();
    clickName(0x98); // Temp 0 LowLimit has no bit names: the captions stay
    EXPECT_EQ(bitNames(), DefaultBitNames);
    t.recording()->clearLog();
    clickName(0x00);
    EXPECT_EQ(transfers(), QStringList{u"BusEngine.ReadByte(5E,00)=B2"_s});
    EXPECT_EQ(shown(), u"0 B2 178 10110010"_s);
    EXPECT_EQ(bitNames(), MainStatusBitNames);
    clickName(0x98); // ... and after Main Status its names stay on screen
    EXPECT_EQ(bitNames(), MainStatusBitNames);
    EXPECT_EQ(shown(), u"98 0 0 00000000"_s);
}

TEST_F(RegisterList, ClickingADigitFlipsThatBitInTheChip) {
    chip()[0x60] = 0x81;
    open();
    clickName(0x60);
    t.recording()->clearLog();
    QTest::mouseClick(digit(3), Qt::LeftButton);
    EXPECT_EQ(transfers(),
              (QStringList{u"BusEngine.ReadByte(5E,60)=81"_s, u"BusEngine.WriteByte(5E,60,89)"_s,
                           u"BusEngine.ReadByte(5E,60)=89"_s}));
    EXPECT_EQ(shown(), u"60 89 137 10001001"_s); // the whole panel shows the byte read back
    digit(3)->setFocus(Qt::TabFocusReason);      // the keyboard flips too
    QTest::keyClick(digit(3), Qt::Key_Space);
    EXPECT_EQ(chip()[0x60], 0x81);
    // With continuous reading off the digits can be stale: the click sets the bit to the
    // opposite of what the user sees, whatever the chip holds now.
    chip()[0x60] = 0x89; // digit 3 still shows "0"
    QTest::mouseClick(digit(3), Qt::LeftButton);
    EXPECT_EQ(chip()[0x60], 0x89);
    chip()[0x60] = 0x81; // digit 3 shows "1"
    QTest::mouseClick(digit(3), Qt::LeftButton);
    EXPECT_EQ(chip()[0x60], 0x81);
}

// Both fields take exactly what qmf4150ctl takes, from the same table: a byte is written and the
// panel shows it read back; anything else is refused with a message saying what the field takes,
// and nothing is written.
TEST_F(RegisterList, AnEntryIsWrittenOnlyWhenTheWholeOfItIsAByte) {
    open();
    clickName(0x90);
    for (const ByteEntryCase& c : ByteEntryCases) {
        for (const auto& [field, written] :
             {std::pair(u"HexTXT"_s, c.hex), std::pair(u"DecTXT"_s, c.decimal)}) {
            const QString entry = QString::fromUtf8(c.text);
            SCOPED_TRACE((field + u" \""_s + entry + u'"').toStdString());
            chip()[0x90] = 0x3C;
            window->refreshView();
            t.recording()->clearLog();
            t.dialogs.messages.clear();
            enter(field, entry);
            if (written >= 0) {
                const QString hex = text::hex(written).rightJustified(2, u'0');
                EXPECT_EQ(transfers(), (QStringList{u"BusEngine.WriteByte(5E,90,%1)"_s.arg(hex),
                                                    u"BusEngine.ReadByte(5E,90)=%1"_s.arg(hex)}));
                EXPECT_EQ(shown(), u"90 %1 %2 %3"_s.arg(text::hex(written))
                                       .arg(written)
                                       .arg(QString::number(written, 2).rightJustified(8, u'0')));
                EXPECT_TRUE(t.dialogs.messages.isEmpty());
                continue;
            }
            EXPECT_TRUE(transfers().isEmpty());
            EXPECT_EQ(shown(), u"90 3C 60 00111100"_s);
            ASSERT_EQ(t.dialogs.messages.size(), 1);
            const FakeDialogs::Message& message = t.dialogs.messages[0];
            EXPECT_EQ(message.icon, UserDialogs::Icon::Exclamation);
            EXPECT_EQ(message.title, u"There was a Problem!"_s);
            EXPECT_TRUE(message.text.contains(field == u"HexTXT"_s ? text::hexByteForms()
                                                                   : text::decimalByteForms()))
                << message.text.toStdString();
            EXPECT_EQ(find<QLineEdit>(field)->text(), entry) << "kept as typed, to be corrected";
        }
    }
    // Return in a field writes like its button, and nothing cuts a long entry short.
    t.dialogs.messages.clear();
    find<QLineEdit>(u"DecTXT"_s)->setText(u"1000"_s);
    QTest::keyClick(find<QLineEdit>(u"DecTXT"_s), Qt::Key_Return);
    EXPECT_EQ(t.dialogs.messages.size(), 1);
    find<QLineEdit>(u"HexTXT"_s)->clear();
    QTest::keyClicks(find<QLineEdit>(u"HexTXT"_s), u"&HA5"_s);
    QTest::keyClick(find<QLineEdit>(u"HexTXT"_s), Qt::Key_Return);
    EXPECT_EQ(chip()[0x90], 0xA5);
    EXPECT_EQ(shown(), u"90 A5 165 10100101"_s);
    EXPECT_EQ(t.errors.failureCount(), 0);
}

// After every write the whole panel shows what the chip holds then, even where that is not what
// was sent: the identification register keeps reading 41.
TEST_F(RegisterListOnTheChip, AfterEveryWriteThePanelShowsTheByteReadBack) {
    open();
    clickName(0x0D);
    EXPECT_EQ(shown(), u"D 41 65 01000001"_s);
    QTest::mouseClick(digit(0), Qt::LeftButton); // sends 40
    EXPECT_EQ(shown(), u"D 41 65 01000001"_s);
    clickName(0x90);
    t.simBoard()->printerPortChip().writeRegister(0x90, 0x11); // behind the view's back
    QTest::mouseClick(digit(7), Qt::LeftButton);
    EXPECT_EQ(shown(), u"90 91 145 10010001"_s);
    enter(u"DecTXT"_s, u"90"_s);
    EXPECT_EQ(shown(), u"90 5A 90 01011010"_s);
}

TEST_F(RegisterList, EasySetupRunsTheAutoSetAndFailuresReachTheErrorBoundary) {
    int runs = 0;
    t.ctx.openers.insert(u"AutoSet"_s, [&runs] { ++runs; });
    open();
    QTest::mouseClick(button(u"EasySetupCMD"_s), Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(transfers().isEmpty());
    t.ctx.openers.clear(); // without one the boundary says so instead of failing silently
    QTest::mouseClick(button(u"EasySetupCMD"_s), Qt::LeftButton);
    EXPECT_EQ(t.errors.failureCount(), 1);
    clickName(0x01);
    t.recording()->failNext(1, u"BusEngine.WriteByte"_s);
    QTest::mouseClick(digit(4), Qt::LeftButton);
    EXPECT_EQ(t.errors.failureCount(), 2);
    EXPECT_EQ(digit(4)->text(), u"0"_s);         // the digit claims no write that did not happen
    QTest::mouseClick(digit(4), Qt::LeftButton); // and the view still works
    EXPECT_EQ(chip()[0x01] & 0x10, 0x10);
}

TEST_F(RegisterList, ContinuousReadingRefreshesOnEachTickUntilATickFails) {
    open();
    window->refreshView(); // before any selection: Main Status
    EXPECT_EQ(transfers(), QStringList{u"BusEngine.ReadByte(5E,00)=00"_s});
    clickName(0xB9);
    QTest::mouseClick(continuousRead(), Qt::LeftButton);
    EXPECT_EQ(continuousRead()->text(), u"ContinuousReadIsOn"_s);
    EXPECT_TRUE(timer()->isActive());
    chip()[0xB9] = 0x5A;
    window->timerTick();
    EXPECT_EQ(shown(), u"B9 5A 90 01011010"_s);
    QAbstractButton* fast = button(u"FastReadCHK"_s); // shortens the running timer's interval
    QTest::mouseClick(fast, Qt::LeftButton);
    EXPECT_EQ(fast->text(), u"Fast Read is On"_s);
    EXPECT_EQ(timer()->interval(), 50);
    QTest::mouseClick(fast, Qt::LeftButton);
    EXPECT_EQ(fast->text(), u"Fast Read is Off"_s);
    EXPECT_EQ(timer()->interval(), 200);
    EXPECT_TRUE(timer()->isActive());
    t.recording()->failNext(1);
    window->timerTick();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(continuousRead()->isChecked());
    EXPECT_EQ(continuousRead()->text(), u"ContinuousReadIsOff"_s);
    EXPECT_EQ(t.errors.failureCount(), 1);
}

TEST_F(RegisterList, ClosingTheWindowStopsReadingAndReopeningStartsFresh) {
    open();
    QTest::mouseClick(continuousRead(), Qt::LeftButton);
    QPointer<QTimer> oldTimer = timer();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldTimer.isNull());
    open();
    EXPECT_EQ(continuousRead()->text(), u"ContinuousReadIsOff"_s);
    EXPECT_FALSE(timer()->isActive());
}

} // namespace
} // namespace qmf::test
