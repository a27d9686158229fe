#include "ui/dialogs/Hint.h"

#include <QCursor>
#include <QLabel>
#include <QToolTip>

namespace quillmark {

THintForm::THintForm(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, QToolTip::palette().color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    resize(265, 48);

    lbHint = new QLabel(this);
    lbHint->move(2, 4);
}

void THintForm::SetPrompt(const QString& text, bool setHeight)
{
    lbHint->setText(text);
    lbHint->adjustSize();
    resize(lbHint->width() + 6, setHeight ? lbHint->height() + 8 : height());
}

QString THintForm::Prompt() const
{
    return lbHint->text();
}

void THintForm::ShowAt(QPoint pointerGlobal)
{
    FollowPointer(pointerGlobal);
    m_placed = true;
    show();
    m_placed = false;
}

void THintForm::FollowPointer(QPoint pointerGlobal)
{
    move(pointerGlobal + kPointerOffset);
}

void THintForm::FormShow()
{
    if (!m_placed)
        FollowPointer(QCursor::pos());
}

void THintForm::showEvent(QShowEvent* event)
{
    FormShow();
    QWidget::showEvent(event);
}

} // namespace quillmark
