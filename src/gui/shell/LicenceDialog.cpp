// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/LicenceDialog.h"

#include "gui/services/AppVersion.h"
#include "gui/shell/DocumentationCommand.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <stdexcept>

namespace qmf {

QString licenceNotice() {
    return applicationTitle() +
           QStringLiteral(" comes with ABSOLUTELY NO WARRANTY. This is free software, and you "
                          "are welcome to redistribute it under the terms of the GNU General "
                          "Public License, version 3 or (at your option) any later version.");
}

QString licenceFile() {
    try {
        const QString file = documentationFolder() + QStringLiteral("/LICENSE");
        return QFileInfo(file).isFile() ? file : QString();
    } catch (const std::runtime_error&) {
        return {};
    }
}

LicenceDialog::LicenceDialog(const QString& licenceFile, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("LicenceDialog"));
    setWindowTitle(QStringLiteral("GNU General Public License"));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("LicenceTXT"));
    text_->setAccessibleName(QStringLiteral("Licence"));
    text_->setReadOnly(true);
    // The licence's own line breaks and indents, unchanged.
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(licenceFile);
    if (file.open(QIODevice::ReadOnly)) {
        text_->setPlainText(QString::fromUtf8(file.readAll()));
    } else {
        text_->setPlainText(QStringLiteral("The licence could not be read from %1: %2")
                                .arg(licenceFile, file.errorString()));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    const int columns = text_->fontMetrics().horizontalAdvance(QString(80, u'M'));
    resize(columns + 60, 600);
}

} // namespace qmf
