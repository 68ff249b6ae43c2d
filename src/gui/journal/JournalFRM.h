// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qmf {

struct AppContext;
class RegisterTextFilter;
class JournalModel;

// Every register write of the run, newest first (JournalTBL): time, register, value before,
// value written, value read back, source, result. FilterTXT keeps the writes to a register or
// from a source. For the selected entry: "Undo" (UndoCMD) writes its value before back; "Undo
// This and Later" (UndoFromCMD) puts every register written by it or after it back as it was
// before it; "Export" (ExportCMD) saves the registers as they were before it to a settings file.
// Undo writes go into the journal themselves. CopyCMD (and Ctrl+C) copies the selected rows.
class JournalFRM : public QWidget {
    Q_OBJECT
public:
    explicit JournalFRM(AppContext& ctx, QWidget* parent = nullptr);

    QSize sizeHint() const override { return preferredSize_; }

private:
    std::optional<quint64> selectedSerial() const;
    void updateButtons();
    void updateCount();
    // Undo of the selected entry, and with andLater of every entry after it too.
    void undo(bool andLater);
    void exportBefore();

    AppContext& ctx_;
    JournalModel* model_ = nullptr;
    RegisterTextFilter* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* filterText_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* undoFrom_ = nullptr;
    QPushButton* export_ = nullptr;
    QSize preferredSize_;
};

} // namespace qmf
