// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/reglist/RegisterListBands.h"
#include "gui/services/RefreshableView.h"

#include <QWidget>
#include <array>
#include <functional>

class QLineEdit;
class QTabWidget;
class QTimer;

namespace qmf {

namespace text {
struct ByteText;
}
struct AppContext;
class ClickableLabel;

// The register list editor: every listed register as a clickable name on four pages; the
// selected register's bits as digits that flip the bit in the chip when clicked, its value in
// hexadecimal and decimal, entry fields that write a whole byte, and continuous reading.
//
// Controls carry their names as objectName: the register names are "visualdisplaytext_<address
// in hex, upper case, no leading zeros>" (e.g. "visualdisplaytext_B9") with the address in the
// property "index"; the bit names are "bitname_0" ... "bitname_9" with the element number in
// "index"; the digits are "bit7" ... "bit0".
//
// A name's text colour records whether it is selected and whether the pointer is over it (see
// RegisterNameColours.h); every surface of the window other than a name counts as leaving the
// names. Every handler and the timer tick run inside the error boundary; a failed tick stops
// continuous reading.
class Register_List : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit Register_List(AppContext& ctx, QWidget* parent = nullptr);

    // Reads the selected register once (the View menu's Refresh).
    void refreshView() override;

    // One tick of RegisterListTimer, the same as the timer firing.
    void timerTick();

    // Continuous reading refreshes every 200 ms, every 50 ms while fast reading is on.
    static constexpr int ReadIntervalMs = 200;
    static constexpr int FastReadIntervalMs = 50;

private:
    void buildPages(QTabWidget* tabs);
    void connectBands();
    ClickableLabel* makeName(quint8 address);

    // Handlers (all run inside the error boundary).
    void selectRegister(quint8 address, bool underPointer);
    void refresh();
    void flipBit(int bit);
    void writeHexEntry();
    void writeDecimalEntry();
    void writeEntry(QLineEdit* field, const text::ByteText& entered, const QString& kind,
                    const QString& forms);
    void readBack();
    void pointerOnName(quint8 address);
    void pointerOffNames();
    void continuousReadToggled();
    void fastReadToggled();

    void handle(const std::function<void()>& handler);

    AppContext& ctx_;
    std::array<ClickableLabel*, 256> names_{}; // by register address; null where not listed
    RegisterListBands bands_;
    QTimer* timer_ = nullptr;
};

} // namespace qmf
