// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/frmAbout.h"

#include "gui/services/AppIcon.h"
#include "gui/services/AppVersion.h"
#include "gui/shell/LicenceDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmf {

EtchedLine::EtchedLine(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void EtchedLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, 1, width() - 1, 1);
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About QMF4150_Evaluation_Software"));
    setWindowModality(Qt::ApplicationModal);

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setPixmap(chipPixmap(48, devicePixelRatioF()));
    picIcon_->setAccessibleName(QStringLiteral("Application icon"));
    picIcon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(font().pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));

    lblDescription_ = new QLabel(QStringLiteral("This software will allow the user to communicate "
                                                "and evaluate the QMF4150 Hardware Monitor"),
                                 this);
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    lblDescription_->setWordWrap(true);

    // The licence, shown in full from the installed file on request.
    const QString licence = licenceFile();
    auto* lblLicence = new QLabel(
        licenceNotice().toHtmlEscaped() +
            (licence.isEmpty() ? QString()
                               : QStringLiteral(" <a href=\"licence\">Show the licence</a>")),
        this);
    lblLicence->setObjectName(QStringLiteral("lblLicence"));
    lblLicence->setWordWrap(true);
    lblLicence->setTextFormat(Qt::RichText);
    connect(lblLicence, &QLabel::linkActivated, this, [this, licence] {
        auto* dialog = new LicenceDialog(licence, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setModal(true);
        dialog->show();
    });

    auto* line = new EtchedLine(this);
    line->setObjectName(QStringLiteral("Line1"));

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdOK_->setMinimumWidth(88);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(lblTitle_);
    text->addWidget(lblVersion_);
    text->addSpacing(8);
    text->addWidget(lblDescription_);
    text->addSpacing(8);
    text->addWidget(lblLicence);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(12);
    layout->addLayout(top, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);

    // Load: the title and the version.
    lblTitle_->setText(applicationTitle());
    lblVersion_->setText(versionCaption(programVersion()));

    setMinimumWidth(420);
    adjustSize();
}

} // namespace qmf
