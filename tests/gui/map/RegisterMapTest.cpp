// SPDX-License-Identifier: GPL-3.0-or-later
// The register map: all 256 registers with names and meanings, the filter, live refresh of the
// rows in sight, editing a value in place, copying rows.
#include "MapTestSupport.h"
#include "core/journal/WriteJournal.h"
#include "gui/map/RegisterMapFRM.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

class RegisterMap : public ::testing::Test {
protected:
    explicit RegisterMap(TestContext::BoardKind kind = TestContext::Recording) : t(kind) {}
    ~RegisterMap() override { t.windows.destroyAll(); }

    RegisterMapFRM& open() {
        window = &t.windows.show<RegisterMapFRM>(t.ctx);
        window->resize(1000, 420);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }
    template <class T> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTableView* table() const { return find<QTableView>(u"RegisterTBL"_s); }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    QStringList transfers() const { return t.recording()->transfers(); }
    // Double-clicks the value of register `reg` (shown in `row`), types `text` and presses Enter.
    void edit(int row, const QString& text) {
        const QModelIndex cell = table()->model()->index(row, 3);
        table()->scrollTo(cell);
        const QPoint at = table()->visualRect(cell).center();
        // As a user's double-click comes: a click, then the second press as a double-click.
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, at);
        auto* editor = table()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits on a queued call, and the write follows the editor's closing.
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }

    TestContext t;
    RegisterMapFRM* window = nullptr;
};

class SimulatedRegisterMap : public RegisterMap {
protected:
    SimulatedRegisterMap() : RegisterMap(TestContext::Simulated) {}
};

TEST_F(SimulatedRegisterMap, ShowsAll256RegistersWithNamesMeaningsAndPowerUpValues) {
    open();
    ASSERT_EQ(table()->model()->rowCount(), 256);
    const struct {
        int reg;
        const char* row;
    } rows[] = {
        {0x00, "0 | Main Status | Main | "},
        {0x0C, "C | - | - | 3 | 0000 0011 |  | 3 | "},
        {0x0D, "D | Manufacturers ID | Main | 41 | 0100 0001 |  | 41 | "},
        {0x20, "20 | - | - | 0 | 0000 0000 |  | 0 | "},
        {0x60, "60 | Fan 0 Speed 1 | Fans | F8 | 1111 1000 | normal 53.33 %, alarm 100 % | F8 | "},
        {0x68, "68 | Fan 0 Speed 2 | Fans | 6C | 0110 1100 | hot-plug 80 %, oscillator 470 Hz | "
               "6C | "},
        {0x80, "80 | Temp 0 Tmin | Temp | 28 | 0010 1000 | 40 \u00B0C | 28 | "},
        {0x88, "88 | Temp 0 Tstep/Hyst | Temp | 42 | 0100 0010 | Trange 20 \u00B0C, hysteresis "
               "4 \u00B0C | 42 | "},
        {0xB9, "B9 | AIN 1 Value | GPIO /AIN | "},
    };
    for (const auto& r : rows) {
        EXPECT_TRUE(rowText(*table(), r.reg).startsWith(QString::fromUtf8(r.row)))
            << rowText(*table(), r.reg).toStdString();
    }
    // A reading has no power-up value to differ from; its meaning is decoded.
    EXPECT_TRUE(rowText(*table(), 0xA0).contains(u" \u00B0C | - | "_s))
        << rowText(*table(), 0xA0).toStdString();
    EXPECT_TRUE(rowText(*table(), 0x70).contains(u" RPM | - | "_s))
        << rowText(*table(), 0x70).toStdString();
    EXPECT_EQ(columnText(*table(), 7).count(u"changed"_s), 0);
}

TEST_F(RegisterMap, ReadsEveryRegisterOnceWhenOpenedAndMarksSettingsThatDifferFromPowerUp) {
    chip()[0x60] = 0x45;
    chip()[0xA0] = 0x19; // a reading is never marked
    t.recording()->clearLog();
    open();
    const QStringList reads = transfers();
    ASSERT_EQ(reads.size(), 256);
    EXPECT_EQ(reads.first(), u"BusEngine.ReadByte(5E,00)=00"_s);
    EXPECT_EQ(reads.last(), u"BusEngine.ReadByte(5E,FF)=00"_s);
    EXPECT_TRUE(reads.filter(u"WriteByte"_s).isEmpty());
    EXPECT_EQ(table()->model()->index(0x60, 7).data().toString(), u"changed"_s);
    EXPECT_EQ(table()->model()->index(0xA0, 7).data().toString(), QString());
    EXPECT_EQ(table()->model()->index(0x0D, 7).data().toString(), QString());
}

TEST_F(RegisterMap, FiltersByNameOrAddressAsYouType) {
    open();
    auto* filter = find<QLineEdit>(u"FilterTXT"_s);
    const struct {
        const char* typed;
        const char* addresses;
    } cases[] = {
        {"", nullptr},
        {"temp 1", "31 41 49 81 89 91 99 A1"},
        {"TEMP 1 t", "81 89"},
        {"0x60", "60"},
        {"60h", "60"},
        {"6", "6 2E 3E"}, // address 6, and the names with a 6 (GPIO 6 Control, GPIO 6 FanMask)
        {"status", "0 10 11"},
        {"nothing like it", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        filter->clear();
        QTest::keyClicks(filter, QLatin1String(c.typed));
        if (c.addresses == nullptr) {
            EXPECT_EQ(table()->model()->rowCount(), 256);
            continue;
        }
        EXPECT_EQ(columnText(*table(), 0).join(u' '), QLatin1String(c.addresses));
    }
}

TEST_F(RegisterMap, LiveRefreshIsOffAtFirstAndReadsOnlyTheRowsInSightEvery500Ms) {
    open();
    auto* live = find<QCheckBox>(u"LiveRefreshCHK"_s);
    auto* timer = find<QTimer>(u"LiveRefreshTimer"_s);
    EXPECT_FALSE(live->isChecked());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
    QTest::mouseClick(live, Qt::LeftButton);
    EXPECT_TRUE(timer->isActive());

    table()->scrollTo(table()->model()->index(0x90, 0), QAbstractItemView::PositionAtTop);
    const QList<quint8> inSight = window->visibleRegisters();
    ASSERT_GT(inSight.size(), 3);
    ASSERT_LT(inSight.size(), 40);
    EXPECT_EQ(inSight.first(), 0x90);
    chip()[0x91] = 0x50;
    t.recording()->clearLog();
    window->timerTick();
    const auto hex2 = [](int byte) { return u"%1"_s.arg(byte, 2, 16, QChar(u'0')).toUpper(); };
    QStringList expected;
    for (const quint8 reg : inSight) {
        expected << u"BusEngine.ReadByte(5E,%1)=%2"_s.arg(hex2(reg), hex2(chip()[reg]));
    }
    EXPECT_EQ(transfers(), expected);
    EXPECT_EQ(table()->model()->index(0x91, 3).data().toString(), u"50"_s);

    // Filtered, only the matching rows in sight are read.
    QTest::keyClicks(find<QLineEdit>(u"FilterTXT"_s), u"HighLimit"_s);
    t.recording()->clearLog();
    window->timerTick();
    EXPECT_EQ(transfers().size(), 7); // 78, 79, 90 to 92, A8, A9

    // A failing board ends the live refresh.
    t.recording()->failNext(1);
    window->timerTick();
    EXPECT_FALSE(live->isChecked());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(t.errors.failureCount(), 1);
}

TEST_F(RegisterMap, EditingAValueWritesItAsTheRegisterListWouldAndShowsWhatReadsBack) {
    open();
    t.recording()->clearLog();
    edit(0x60, u"45"_s);
    EXPECT_EQ(transfers(),
              QStringList({u"BusEngine.WriteByte(5E,60,45)"_s, u"BusEngine.ReadByte(5E,60)=45"_s}));
    EXPECT_EQ(table()->model()->index(0x60, 3).data().toString(), u"45"_s);
    EXPECT_EQ(table()->model()->index(0x60, 4).data().toString(), u"0100 0101"_s);
    EXPECT_EQ(t.state.journal().at(t.state.journal().size() - 1).source, u"Register Map"_s);

    const struct {
        const char* typed;
        const char* message;
    } refused[] = {
        {"G1", "\"G1\" is not a byte: the hexadecimal field takes "},
        {"1FF", "\"1FF\" is not a byte: the hexadecimal field takes "},
        {" ", "The hexadecimal field is empty: the hexadecimal field takes "},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.typed);
        t.dialogs.messages.clear();
        t.recording()->clearLog();
        edit(0x61, QLatin1String(r.typed));
        EXPECT_TRUE(transfers().isEmpty());
        ASSERT_EQ(t.dialogs.messages.size(), 1);
        EXPECT_EQ(t.dialogs.messages[0].title, u"There was a Problem!"_s);
        EXPECT_TRUE(t.dialogs.messages[0].text.startsWith(QLatin1String(r.message)))
            << t.dialogs.messages[0].text.toStdString();
        EXPECT_TRUE(t.dialogs.messages[0].text.endsWith(u"Nothing was written."_s));
    }
}

TEST_F(RegisterMap, CopiesTheSelectedRowsAsText) {
    open();
    table()->selectionModel()->select(table()->model()->index(0x61, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table()->selectionModel()->select(table()->model()->index(0x0D, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(find<QPushButton>(u"CopyCMD"_s), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(),
              u"Address\tName\tTab\tHex\tBinary\tMeaning\tPower-up\tChanged\n"
              "D\tManufacturers ID\tMain\t41\t0100 0001\t\t41\t\n"
              "61\tFan 1 Speed 1\tFans\t0\t0000 0000\tnormal 0 %, alarm 0 %\tF8\tchanged\n"_s);
}

} // namespace
} // namespace qmf::test
