// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChipDrawing.h"

#include "gui/views/ChipPinout.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qmf {

namespace {
constexpr double Margin = 10.0;
constexpr double LeaderGap = 26.0; // room for the leader lines between legs and indicators
constexpr double MinIndicatorWidth = 150.0;
constexpr double MinBodyWidth = 230.0;
constexpr double MaxLegLength = 22.0;
} // namespace

ChipDrawing::ChipDrawing(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(tr("QMF4150 package drawing"));
    setAccessibleDescription(tr("24-pin QSOP; indicators beside the monitored pins"));
}

void ChipDrawing::attach(QWidget* indicator, int firstPin, int lastPin) {
    indicator->setParent(this);
    indicator->installEventFilter(this);
    // Indicators left of the package face it: their lamps sit next to the leader lines.
    if (chiplayout::sideOf(firstPin) == chiplayout::Side::Left) {
        indicator->setLayoutDirection(Qt::RightToLeft);
    }
    attachments_.push_back({indicator, std::min(firstPin, lastPin), std::max(firstPin, lastPin)});
    QStringList names;
    for (int pin = std::min(firstPin, lastPin); pin <= std::max(firstPin, lastPin); ++pin) {
        const auto& info = chiplayout::pinout()[std::size_t(pin - 1)];
        names << QStringLiteral("pin %1 %2: %3").arg(pin).arg(info.name, info.function);
    }
    if (indicator->toolTip().isEmpty()) {
        indicator->setToolTip(names.join(QLatin1Char('\n')));
    }
    placeAttachments();
    update();
}

QSize ChipDrawing::minimumSizeHint() const {
    double side = MinIndicatorWidth;
    for (const Attachment& a : attachments_) {
        if (a.widget) {
            side = std::max({side, double(a.widget->sizeHint().width()),
                             double(a.widget->minimumSizeHint().width())});
        }
    }
    // The package stays centred, so both sides get the widest column.
    const int width =
        int(std::ceil(MinBodyWidth + 2.0 * (MaxLegLength + LeaderGap + side + Margin)));
    return {std::max(640, width), 500};
}

std::vector<int> ChipDrawing::pinsOf(const QWidget* indicator) const {
    std::vector<int> pins;
    for (const Attachment& a : attachments_) {
        if (a.widget == indicator) {
            for (int pin = a.firstPin; pin <= a.lastPin; ++pin) {
                pins.push_back(pin);
            }
        }
    }
    return pins;
}

// --- geometry -----------------------------------------------------------------------------------

double ChipDrawing::pitch() const {
    // Twelve rows plus half a row of body above and below them.
    return std::max(20.0, (height() - 2.0 * Margin) / (chiplayout::PinsPerSide + 1.0));
}

double ChipDrawing::legLength() const {
    return std::clamp(pitch() * 0.55, 10.0, MaxLegLength);
}

QRectF ChipDrawing::bodyRect() const {
    const double p = pitch();
    const double bodyHeight = p * (chiplayout::PinsPerSide + 1.0);
    const double bodyWidth = std::clamp(width() * 0.3, MinBodyWidth, 320.0);
    return {(width() - bodyWidth) / 2.0, (height() - bodyHeight) / 2.0, bodyWidth, bodyHeight};
}

double ChipDrawing::pinY(int pin) const {
    return bodyRect().top() + pitch() * (chiplayout::rowOf(pin) + 1.0);
}

QRectF ChipDrawing::legRect(int pin) const {
    const QRectF body = bodyRect();
    const double legHeight = pitch() * 0.42;
    const double x = chiplayout::sideOf(pin) == chiplayout::Side::Left ? body.left() - legLength()
                                                                       : body.right();
    return {x, pinY(pin) - legHeight / 2.0, legLength(), legHeight};
}

QPointF ChipDrawing::legTip(int pin) const {
    const QRectF leg = legRect(pin);
    return chiplayout::sideOf(pin) == chiplayout::Side::Left ? QPointF(leg.left(), pinY(pin))
                                                             : QPointF(leg.right(), pinY(pin));
}

bool ChipDrawing::shown(const Attachment& a) const {
    return a.widget && !a.widget->isHidden();
}

void ChipDrawing::placeAttachments() {
    const double p = pitch();
    // One width per side, the widest need of its indicators, so that they line up.
    double sideWidth[2] = {MinIndicatorWidth, MinIndicatorWidth};
    for (const Attachment& a : attachments_) {
        if (a.widget) {
            const int side = chiplayout::sideOf(a.firstPin) == chiplayout::Side::Left ? 0 : 1;
            sideWidth[side] = std::max({sideWidth[side], double(a.widget->sizeHint().width()),
                                        double(a.widget->minimumSizeHint().width())});
        }
    }
    for (const Attachment& a : attachments_) {
        if (!a.widget) {
            continue;
        }
        const bool left = chiplayout::sideOf(a.firstPin) == chiplayout::Side::Left;
        const double tipX = legTip(a.firstPin).x();
        const double areaLeft = left ? Margin : tipX + LeaderGap;
        const double areaRight = left ? tipX - LeaderGap : width() - Margin;
        const double w = std::max(0.0, std::min(areaRight - areaLeft, sideWidth[left ? 0 : 1]));
        const QSize hint = a.widget->sizeHint();
        const double centerY = (pinY(a.firstPin) + pinY(a.lastPin)) / 2.0;
        const double span = std::abs(pinY(a.lastPin) - pinY(a.firstPin)) + p - 6.0;
        const double h = std::max<double>(hint.height(), std::min(span, hint.height() + p));
        const double x = left ? areaRight - w : areaLeft;
        a.widget->setGeometry(QRectF(x, centerY - h / 2.0, w, h).toRect());
    }
}

// --- events -------------------------------------------------------------------------------------

void ChipDrawing::resizeEvent(QResizeEvent* event) {
    placeAttachments();
    QWidget::resizeEvent(event);
}

bool ChipDrawing::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::EnabledChange:
        update();
        break;
    case QEvent::LayoutRequest:
        placeAttachments();
        updateGeometry(); // an indicator's new size may change the drawing's minimum
        update();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// --- painting -----------------------------------------------------------------------------------

void ChipDrawing::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double pt = pitch();
    const QRectF body = bodyRect();

    // Leader lines, under everything else.
    std::vector<bool> monitored(chiplayout::PinCount + 1, false);
    for (const Attachment& a : attachments_) {
        if (!shown(a)) {
            continue;
        }
        const QRect g = a.widget->geometry();
        const bool left = chiplayout::sideOf(a.firstPin) == chiplayout::Side::Left;
        QPen pen(QColor(0x55, 0x5b, 0x61), 1.3);
        if (!a.widget->isEnabled()) {
            pen.setStyle(Qt::DashLine);
            pen.setColor(QColor(0x9a, 0xa0, 0xa6));
        }
        p.setPen(pen);
        for (int pin = a.firstPin; pin <= a.lastPin; ++pin) {
            monitored[std::size_t(pin)] = a.widget->isEnabled();
            const QPointF tip = legTip(pin);
            const double edge = left ? g.right() + 1.0 : g.left() - 1.0;
            // Pins beyond the widget's height bend towards its nearest row.
            const double y = std::clamp(tip.y(), double(g.top()) + 4.0, double(g.bottom()) - 4.0);
            const double bendX = left ? edge + LeaderGap * 0.45 : edge - LeaderGap * 0.45;
            p.drawPolyline(
                QPolygonF{tip, QPointF(bendX, tip.y()), QPointF(bendX, y), QPointF(edge, y)});
        }
    }

    // Legs: tinned copper, gold where an indicator watches the pin.
    for (const auto& pin : chiplayout::pinout()) {
        const QRectF leg = legRect(pin.number);
        const bool watched = monitored[std::size_t(pin.number)];
        QLinearGradient metal(leg.topLeft(), leg.bottomLeft());
        metal.setColorAt(0.0, watched ? QColor(0xf3, 0xd9, 0x7a) : QColor(0xf0, 0xf2, 0xf4));
        metal.setColorAt(1.0, watched ? QColor(0xb0, 0x8a, 0x1e) : QColor(0x9c, 0xa3, 0xaa));
        p.setPen(QPen(QColor(0x4a, 0x4f, 0x55), 1.0));
        p.setBrush(metal);
        p.drawRect(leg);
    }

    // Package body with its pin-1 notch and dot.
    QLinearGradient mould(body.topLeft(), body.topRight());
    mould.setColorAt(0.0, QColor(0x3a, 0x3f, 0x45));
    mould.setColorAt(0.5, QColor(0x2b, 0x2f, 0x34));
    mould.setColorAt(1.0, QColor(0x22, 0x25, 0x29));
    p.setPen(QPen(QColor(0x12, 0x14, 0x16), 1.5));
    p.setBrush(mould);
    p.drawRoundedRect(body, 5.0, 5.0);
    const double notch = std::min(body.width() * 0.09, pt * 0.55);
    p.setBrush(palette().color(QPalette::Window));
    p.drawChord(QRectF(body.center().x() - notch, body.top() - notch, 2.0 * notch, 2.0 * notch),
                180 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8d, 0x94, 0x9b));
    p.drawEllipse(QPointF(body.left() + pt * 0.45, body.top() + pt * 0.45), pt * 0.13, pt * 0.13);

    // Pin numbers and names along the inside edges.
    QFont font = this->font();
    font.setPixelSize(std::clamp(int(std::lround(pt * 0.40)), 9, 14));
    QFont numberFont = font;
    numberFont.setPixelSize(std::max(8, font.pixelSize() - 2));
    const double inset = 6.0;
    for (const auto& pin : chiplayout::pinout()) {
        const bool left = chiplayout::sideOf(pin.number) == chiplayout::Side::Left;
        const double y = pinY(pin.number);
        const QRectF row(body.left() + inset, y - pt / 2.0, body.width() - 2.0 * inset, pt);
        const Qt::Alignment align = (left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
        p.setFont(numberFont);
        p.setPen(QColor(0x9a, 0xa1, 0xa8));
        p.drawText(row, align, QString::number(pin.number));
        const double numberWidth =
            QFontMetricsF(numberFont).horizontalAdvance(QStringLiteral("24"));
        const QRectF nameRow = row.adjusted(left ? numberWidth + 6.0 : 0.0, 0.0,
                                            left ? 0.0 : -(numberWidth + 6.0), 0.0);
        p.setFont(font);
        p.setPen(QColor(0xf1, 0xf3, 0xf5));
        p.drawText(nameRow, align, QString(pin.name));
    }

    // The marking, along the package.
    p.save();
    p.translate(body.center());
    p.rotate(-90.0);
    QFont marking = this->font();
    marking.setBold(true);
    marking.setPixelSize(std::clamp(int(std::lround(pt * 0.62)), 12, 24));
    p.setFont(marking);
    p.setPen(QColor(0xd5, 0xd9, 0xdd));
    const QRectF markRect(-body.height() / 2.0, -pt, body.height(), 1.2 * pt);
    p.drawText(markRect, Qt::AlignCenter, QStringLiteral("QMF4150"));
    QFont sub = marking;
    sub.setBold(false);
    sub.setPixelSize(std::max(9, marking.pixelSize() / 2));
    p.setFont(sub);
    p.setPen(QColor(0x9a, 0xa1, 0xa8));
    p.drawText(QRectF(-body.height() / 2.0, 0.2 * pt, body.height(), 0.8 * pt), Qt::AlignCenter,
               QStringLiteral("24-pin QSOP"));
    p.restore();
}

} // namespace qmf
