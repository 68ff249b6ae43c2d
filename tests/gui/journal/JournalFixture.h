// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/WriteJournal.h"
#include "gui/journal/JournalFRM.h"
#include "gui/support/TestContext.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

using namespace Qt::StringLiterals;

// The journal view of one test context; its table's columns are "#", "Time", "Register",
// "Name", "Before", "Written", "Read back", "Source", "Result", "Note".
class JournalFixture : public ::testing::Test {
protected:
    explicit JournalFixture(TestContext::BoardKind kind) : t(kind) {}
    ~JournalFixture() override { t.windows.destroyAll(); }

    JournalFRM& openJournal() {
        journal = &t.windows.show<JournalFRM>(t.ctx);
        return *journal;
    }
    template <class T> T* find(const QString& name) const {
        T* found = journal->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTableView* table() const { return find<QTableView>(u"JournalTBL"_s); }
    QString cell(int row, int column) const {
        return table()->model()->index(row, column).data().toString();
    }
    // "register before>written readback | source | note" of a row.
    QString summary(int row) const {
        return u"%1 %2>%3 %4 | %5 | %6"_s.arg(cell(row, 2), cell(row, 4), cell(row, 5),
                                              cell(row, 6), cell(row, 7), cell(row, 9));
    }
    // The row that shows entry `serial`, -1 when none does.
    int rowOf(quint64 serial) const {
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            if (cell(row, 0) == QString::number(serial)) {
                return row;
            }
        }
        return -1;
    }
    void select(int row) {
        table()->selectionModel()->setCurrentIndex(table()->model()->index(row, 0),
                                                   QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    }
    void click(const QString& button) {
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }

    TestContext t;
    JournalFRM* journal = nullptr;
};

} // namespace qmf::test
