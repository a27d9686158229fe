#include "ui/widgets/ToolButtons.h"

#include <QEnterEvent>
#include <QMenu>

namespace quillmark {

DropDownToolButton::DropDownToolButton(QList<QIcon> glyphs, QMenu* dropDown, QWidget* parent)
    : QToolButton(parent), m_glyphs(std::move(glyphs))
{
    setCheckable(true);
    setAutoRaise(true);
    setMenu(dropDown);
    setPopupMode(QToolButton::MenuButtonPopup);
    setFixedWidth(kWidth);
    if (!m_glyphs.isEmpty())
        setIcon(m_glyphs.constFirst());
}

void DropDownToolButton::SetGlyphIndex(int index)
{
    if (index < 0 || index >= GlyphCount())
        return;
    m_glyphIndex = index;
    setIcon(m_glyphs.at(index));
}

void DropDownToolButton::enterEvent(QEnterEvent* event)
{
    QToolButton::enterEvent(event);
    emit MouseEntered();
}

} // namespace quillmark
