#include "ui/widgets/SplitSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace quillmark {

namespace {

QToolButton* Half(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(20, 11);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

SplitSpinButton::SplitSpinButton(QWidget* parent)
    : QWidget(parent), m_top(Half(Qt::UpArrow, this)), m_bottom(Half(Qt::DownArrow, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_top);
    layout->addWidget(m_bottom);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_top, &QToolButton::clicked, this, &SplitSpinButton::TopClicked);
    connect(m_bottom, &QToolButton::clicked, this, &SplitSpinButton::BottomClicked);
}

} // namespace quillmark
