#include "shell/AboutBox.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "ui/DialogIds.h"

namespace sigil {

AboutBox::AboutBox(const QPixmap& logo, const QString& version, QWidget* parent) : QDialog(parent)
{
    setObjectName(controlName(kAboutDialog));
    setWindowTitle(loadString(str::AboutTitle));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    auto* picture = new QLabel(this);
    picture->setPixmap(logo);
    picture->setFixedSize(300, 60);
    auto* versionLabel = new QLabel(loadString(str::AboutVersion).arg(version), this);
    versionLabel->setObjectName(QStringLiteral("version"));

    auto* support = new QPushButton(loadString(str::AboutSupport), this);
    support->setObjectName(QStringLiteral("support"));
    const QString address = loadString(str::SupportPage);
    support->setVisible(address != QLatin1String("-"));
    connect(support, &QPushButton::clicked, this, [address] { QDesktopServices::openUrl(QUrl(address)); });
    auto* close = new QPushButton(loadString(str::AboutClose), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(versionLabel, 1);
    buttons->addWidget(support);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    alpha_ = 1;
    setWindowOpacity(alpha_ / 255.0);
    fadeTimer_.start(300, this);
}

void AboutBox::fadeStep()
{
    if (alpha_ + 48 > 254) {
        fadeTimer_.stop();
        alpha_ = 255;
        setWindowOpacity(1.0);
        return;
    }
    alpha_ += 48;
    setWindowOpacity(alpha_ / 255.0);
}

void AboutBox::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == fadeTimer_.timerId())
        fadeStep();
    else
        QDialog::timerEvent(event);
}

void AboutBox::closeEvent(QCloseEvent* event)
{
    // Only the close button and Escape end the box.
    event->ignore();
}

}  // namespace sigil
