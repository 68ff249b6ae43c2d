// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChartExport.h"

#include "core/files/AllOrNothingFile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <qcustomplot.h>

namespace qmf {

QByteArray chartFileBytes(QCustomPlot& chart, const QString& fileName) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const int width = std::max(chart.width(), 100);
    const int height = std::max(chart.height(), 100);
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        if (!chart.toPixmap(width, height).save(&buffer, "PNG")) {
            return {};
        }
    } else if (fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("QMF4150 Evaluation Software"));
        writer.setTitle(chart.accessibleName());
        // One point per pixel on screen: the page is the chart's size.
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QCPPainter painter(&writer);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        chart.toPainter(&painter, width, height);
        painter.end();
    }
    return buffer.data();
}

QString saveChart(QCustomPlot& chart, const QString& fileName) {
    const QByteArray bytes = chartFileBytes(chart, fileName);
    if (bytes.isEmpty()) {
        return QStringLiteral("the name must end in .png or .pdf");
    }
    return writeWholeFile(fileName, bytes);
}

} // namespace qmf
