// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace qmf {

// A two-state indicator: a lamp and the text of the current state. The value is a 16-bit
// Boolean (True -1, False 0; any non-zero value counts as True). Each state has its own text and
// lamp colour, so the owner decides which state is the alarming one. A disabled indicator shows
// a grey, unlit lamp: the program does not drive it.
//
// An indicator made unknown (setUnknown) shows a grey lamp and its unknown text (what it is about,
// without a state) until its next setValue: nothing has been read for it yet.
class ToggleIndicator : public QWidget {
    Q_OBJECT
public:
    explicit ToggleIndicator(QWidget* parent = nullptr);
    ToggleIndicator(const QString& trueText, const QString& falseText, QWidget* parent = nullptr);

    qint16 Value() const { return value_; }
    // Sets the value; an unknown indicator becomes known.
    void setValue(qint16 value);
    bool isTrue() const { return value_ != 0; }

    // Shows the grey lamp and `text` until the next setValue.
    void setUnknown(const QString& text);
    bool isKnown() const { return known_; }

    void setTexts(const QString& trueText, const QString& falseText);
    const QString& trueText() const { return trueText_; }
    const QString& falseText() const { return falseText_; }
    // The text shown: the unknown text, or the text of the current value.
    const QString& text() const {
        return !known_ ? unknownText_ : isTrue() ? trueText_ : falseText_;
    }

    void setColors(const QColor& trueColor, const QColor& falseColor);
    const QColor& trueColor() const { return trueColor_; }
    const QColor& falseColor() const { return falseColor_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void valueChanged(qint16 value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    qint16 value_ = 0;
    bool known_ = true;
    QString unknownText_;
    QString trueText_;
    QString falseText_;
    QColor trueColor_{0x2e, 0xb8, 0x4c};
    QColor falseColor_{0x4a, 0x50, 0x56};
};

} // namespace qmf
