// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QCustomPlot;

namespace qmf {

// The chart as the file type its name asks for: ".png" an image at the chart's size on screen,
// ".pdf" a page of vector graphics (any case). Empty for any other name.
QByteArray chartFileBytes(QCustomPlot& chart, const QString& fileName);

// Saves the chart in the file, all or nothing: an empty text on success, else why it failed
// (the file then stays as it was).
QString saveChart(QCustomPlot& chart, const QString& fileName);

} // namespace qmf
