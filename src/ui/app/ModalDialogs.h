#pragma once
// The one door through which the main window opens anything modal: message
// boxes, confirmations, file dialogs and its own dialogs. The window never
// calls QMessageBox, QFileDialog or QDialog::exec itself, so a test can hand
// it a scripted stand-in and no test ever waits on a real modal box.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace quillmark {

class PictureFormatList;

// What a file dialog is asked to show. Folder is the initial folder;
// DefaultSuffix is added to a typed name without extension.
struct FileDialogRequest {
    QString Caption;
    QString Folder;
    QString FileName; // the name offered at first, in Folder; may be empty
    QString Filter;
    QString DefaultSuffix;
    bool OverwritePrompt = true;
    bool PicturePreview = false;
};

class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;

    virtual void ShowMessage(const QString& text) = 0;
    // An error box with the error icon and an OK button.
    virtual void ShowError(const QString& caption, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const QString& caption, const QString& text) = 0;
    // A question with Yes, No and Cancel (Да / Нет / Отмена) before work
    // could be lost. Stand-ins that do not script it answer through Confirm,
    // Yes or No.
    enum class Answer { Yes, No, Cancel };
    virtual Answer AskYesNoCancel(const QString& caption, const QString& text);
    // The chosen file, or an empty string when the user cancels.
    virtual QString AskOpenFileName(const FileDialogRequest& request) = 0;
    virtual QString AskSaveFileName(const FileDialogRequest& request) = 0;
    // The open-picture dialog: starts in folder with filter (the registry's
    // "description|patterns|..." text, first entry chosen) and previews the
    // selected file decoded through formats. Stand-ins that do not script it
    // answer through AskOpenFileName.
    virtual QString AskPictureFileName(const QString& folder, const QString& filter,
                                       const PictureFormatList& formats);
    // Runs one of the program's own dialogs modally; returns its result code.
    virtual int ShowModalDialog(QDialog& dialog) = 0;
};

// The real boxes and dialogs, parented to the given window.
class QtModalDialogs : public ModalDialogs {
public:
    explicit QtModalDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& caption, const QString& text) override;
    bool Confirm(const QString& caption, const QString& text) override;
    Answer AskYesNoCancel(const QString& caption, const QString& text) override;
    QString AskOpenFileName(const FileDialogRequest& request) override;
    QString AskSaveFileName(const FileDialogRequest& request) override;
    QString AskPictureFileName(const QString& folder, const QString& filter,
                               const PictureFormatList& formats) override;
    int ShowModalDialog(QDialog& dialog) override;

private:
    QWidget* m_parent;
};

} // namespace quillmark
