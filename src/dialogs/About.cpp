#include "dialogs/About.h"

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

namespace {

// A sheet of graph paper with a traced curve and its digitized points, and a
// quill across the corner, on a 32 x 32 grid.
void DrawProgramIcon(QPainter& p, int side)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    p.setPen(QPen(QColor(70, 70, 90), 1));
    p.setBrush(QColor(250, 250, 240));
    p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 2, 2);
    p.setPen(QPen(QColor(150, 180, 230), 0.6));
    for (int i = 1; i < 6; ++i) {
        p.drawLine(QPointF(2.5 + i * 4.5, 3), QPointF(2.5 + i * 4.5, 29));
        p.drawLine(QPointF(3, 2.5 + i * 4.5), QPointF(29, 2.5 + i * 4.5));
    }
    p.setPen(QPen(QColor(30, 30, 30), 1.4));
    p.drawLine(QPointF(5, 5), QPointF(5, 27));
    p.drawLine(QPointF(5, 27), QPointF(27, 27));
    QPainterPath curve(QPointF(6, 24));
    curve.cubicTo(QPointF(11, 6), QPointF(17, 26), QPointF(26, 9));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 30, 30), 1.8));
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 90, 200));
    for (const qreal t : {0.15, 0.4, 0.65, 0.9})
        p.drawEllipse(curve.pointAtPercent(t), 1.6, 1.6);
    QPainterPath quill(QPointF(17, 17));
    quill.quadTo(QPointF(24, 5), QPointF(31, 1));
    quill.quadTo(QPointF(27, 11), QPointF(17, 17));
    p.setBrush(QColor(120, 80, 30));
    p.drawPath(quill);
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int side : {16, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        DrawProgramIcon(p, side);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе Quillmark"));
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

    Version = new QLabel(QStringLiteral("Версия 0.61"), this);
    Version->setAlignment(Qt::AlignCenter);
    Version->setGeometry(48, 40, 182, 17);

    Link = new QLabel(this);
    Link->setText(QStringLiteral("<a href=\"%1\">О проекте Quillmark</a>").arg(QLatin1String(kLink)));
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
