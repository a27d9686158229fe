#pragma once
// THelpForm: the help window. It shows the plain text file Quillmark.txt from
// the program's folder, read again at every showing so that edits to the file
// are seen without a restart. Created once with the main window; closing only
// hides it.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace quillmark {

class THelpForm : public QDialog {
    Q_OBJECT
public:
    // programFolder ends in a separator.
    explicit THelpForm(const QString& programFolder, QWidget* parent = nullptr);

    static constexpr const char* kFileName = "Quillmark.txt";
    static constexpr const char* kEnglishFileName = "Quillmark.en.txt";

    QPlainTextEdit* Memo = nullptr;

    // Loads the help file into Memo, or the missing-file text when it cannot
    // be opened; runs at every showing.
    void FormShow();
    // Esc closes the window.
    void FormKeyDown(int key);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_programFolder;
};

} // namespace quillmark
