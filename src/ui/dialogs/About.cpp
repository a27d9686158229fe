#include "ui/dialogs/About.h"

#include "ui/app/ProgramIcon.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QToolTip>

namespace quillmark {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("О программе Quillmark"));
    setFixedSize(278, 127);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QToolTip::palette().color(QPalette::ToolTipText));

    Image = new QLabel(this);
    Image->setGeometry(8, 8, 32, 32);

    ProductName = new QLabel(QStringLiteral("Quillmark"), this);
    QFont bold = ProductName->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    ProductName->setFont(bold);
    ProductName->setAlignment(Qt::AlignCenter);
    ProductName->setGeometry(48, 14, 182, 21);

    Version = new QLabel(tr("Версия 0.61"), this);
    Version->setAlignment(Qt::AlignCenter);
    Version->setGeometry(48, 40, 182, 17);

    Link = new QLabel(this);
    Link->setText(tr("<a href=\"%1\">О проекте Quillmark</a>").arg(QLatin1String(kLink)));
    Link->setTextFormat(Qt::RichText);
    Link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    Link->setOpenExternalLinks(true);
    Link->setAlignment(Qt::AlignCenter);
    Link->setGeometry(8, 96, 262, 20);

    for (QLabel* label : {ProductName, Version})
        label->setPalette(colours);
    for (QWidget* w : {static_cast<QWidget*>(Image), static_cast<QWidget*>(ProductName),
                       static_cast<QWidget*>(Version)})
        w->installEventFilter(this);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    Image->setPixmap(ProgramIcon().pixmap(32, 32));
}

void TAboutBox::ImageClick()
{
    close();
}

void TAboutBox::FormKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        ImageClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::mousePressEvent(QMouseEvent* event)
{
    // Presses on the link label stay with the label and never arrive here.
    QDialog::mousePressEvent(event);
    ImageClick();
}

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(event->key());
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

} // namespace quillmark
