#pragma once
// TAboutBox: the program's icon, name and version, and a link to the
// project's description. A click on the box, its icon, its name or its
// version closes it, as does Esc; the link opens without closing the box.
// Created once with the main window; closing only hides it.
#include <QDialog>
#include <QIcon>

class QLabel;

namespace quillmark {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static constexpr const char* kLink = "https://github.com/quillmark/quillmark#readme";

    QLabel* Image = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Link = nullptr;

    void FormCreate();
    void ImageClick();
    void FormKeyDown(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace quillmark
