// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/AppIcon.h"

#include "core/install/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <algorithm>

namespace qmf {

void paintChipGraphic(QPainter& painter, const QRectF& bounds, const QString& label) {
    const qreal side = std::min(bounds.width(), bounds.height());
    const QRectF square(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    const qreal pinLength = side * 0.12;
    const QRectF body = square.adjusted(pinLength, pinLength, -pinLength, -pinLength);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // Pins: evenly spaced on each side of the package.
    const int pinsPerSide = side >= 40 ? 6 : 4;
    const qreal pitch = body.width() / pinsPerSide;
    const qreal pinWidth = std::max<qreal>(1.0, pitch * 0.45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(196, 200, 206));
    for (int i = 0; i < pinsPerSide; ++i) {
        const qreal offset = body.left() + pitch * (i + 0.5) - pinWidth / 2;
        const qreal offsetY = body.top() + pitch * (i + 0.5) - pinWidth / 2;
        painter.drawRect(QRectF(offset, square.top(), pinWidth, pinLength + 1));
        painter.drawRect(QRectF(offset, body.bottom() - 1, pinWidth, pinLength + 1));
        painter.drawRect(QRectF(square.left(), offsetY, pinLength + 1, pinWidth));
        painter.drawRect(QRectF(body.right() - 1, offsetY, pinLength + 1, pinWidth));
    }

    // Package.
    QLinearGradient shade(body.topLeft(), body.bottomRight());
    shade.setColorAt(0.0, QColor(70, 74, 82));
    shade.setColorAt(1.0, QColor(28, 30, 34));
    painter.setBrush(shade);
    painter.setPen(QPen(QColor(16, 16, 18), std::max<qreal>(1.0, side / 64)));
    const qreal radius = side * 0.04;
    painter.drawRoundedRect(body, radius, radius);

    // Pin-1 mark.
    const qreal dot = body.width() * 0.12;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 154, 162));
    painter.drawEllipse(QRectF(body.left() + dot * 0.7, body.top() + dot * 0.7, dot, dot));

    if (!label.isEmpty() && side >= 48) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(6, int(body.width() / (label.size() * 0.75 + 1))));
        painter.setFont(font);
        painter.setPen(QColor(230, 232, 236));
        painter.drawText(body, Qt::AlignCenter, label);
    }
    painter.restore();
}

QPixmap chipPixmap(int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintChipGraphic(painter, QRectF(0, 0, size, size),
                     size >= 48 ? QStringLiteral("QMF") : QString());
    return pixmap;
}

QString applicationIconFile() {
    const QString name = QStringLiteral("icons/hicolor/scalable/apps/") +
                         QLatin1String(ApplicationId) + QStringLiteral(".svg");
    QStringList candidates{QDir(install::besideProgram(QCoreApplication::applicationDirPath(),
                                                       install::relativeDataDir()))
                               .filePath(name)};
    candidates << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, name);
    for (const QString& file : std::as_const(candidates)) {
        // Without Qt's SVG support installed the file cannot be read: the drawn icon serves.
        if (QFileInfo(file).isFile() && QImageReader(file).canRead()) {
            return file;
        }
    }
    return {};
}

QIcon applicationIcon() {
    if (const QString file = applicationIconFile(); !file.isEmpty()) {
        return QIcon(file);
    }
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(chipPixmap(size));
    }
    return icon;
}

} // namespace qmf
