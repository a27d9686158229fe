#pragma once
// THintForm: a small borderless note that floats beside the mouse pointer,
// always on top, in tooltip colours. Point calibration shows it with the next
// prompt, moves it with the pointer over the plot and hides it. It never takes
// the focus or a key. Created once with the main window.
#include <QPoint>
#include <QString>
#include <QWidget>

class QLabel;

namespace quillmark {

class THintForm : public QWidget {
    Q_OBJECT
public:
    explicit THintForm(QWidget* parent = nullptr);

    // Where the top-left corner goes, relative to the pointer.
    static constexpr QPoint kPointerOffset{10, -10};

    QLabel* lbHint = nullptr;

    // Sets the prompt; the width becomes the label's width + 6 and, with
    // setHeight (when calibration starts), the height its height + 8.
    void SetPrompt(const QString& text, bool setHeight);
    QString Prompt() const;
    // Shows the window beside the pointer at the given screen position.
    void ShowAt(QPoint pointerGlobal);
    // Puts the window beside the pointer again; used on every mouse move over
    // the plot while the hint is shown.
    void FollowPointer(QPoint pointerGlobal);

    // Shown: beside the pointer's current position.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false; // ShowAt has placed the window for this showing
};

} // namespace quillmark
