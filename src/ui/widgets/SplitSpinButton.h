#pragma once
// A spin button of two halves stacked one above the other, each an arrow
// button that repeats while held. It holds no value: each half only reports
// its clicks, and the owner decides what a click moves.
#include <QWidget>

class QToolButton;

namespace quillmark {

class SplitSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SplitSpinButton(QWidget* parent = nullptr);

    QToolButton* TopHalf() const { return m_top; }
    QToolButton* BottomHalf() const { return m_bottom; }

signals:
    void TopClicked();
    void BottomClicked();

private:
    QToolButton* m_top;
    QToolButton* m_bottom;
};

} // namespace quillmark
