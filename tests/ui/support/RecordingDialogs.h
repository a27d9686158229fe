#pragma once
// The scripted stand-in for every modal box of the main window, and the
// surroundings a test window is built in. Each box the window asks for is
// recorded as a line of text and answered from the members below, so a test
// sees what the user would have been shown and no test reaches a real box.
// What a line holds differs between test suites; the defaults give
// "confirm: <caption>" and "dialog", and each fixture sets what it checks.
#include "ui/app/MainFormEnvironment.h"
#include "ui/app/ModalDialogs.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quillmark::testsupport {

class RecordingDialogs : public ModalDialogs {
public:
    // Which text of a confirmation its line carries: "confirm: <that text>".
    enum class ConfirmLine { Caption, Text };
    // What a modal dialog leaves in Calls: no line, "dialog", or "dialog: <window title>".
    enum class DialogLine { None, Plain, Title };

    explicit RecordingDialogs(ConfirmLine confirm = ConfirmLine::Caption, DialogLine dialog = DialogLine::Plain)
        : ConfirmRecords(confirm), DialogRecords(dialog)
    {
    }

    void ShowMessage(const QString& text) override { Calls.push_back("message: " + text.toStdString()); }
    void ShowError(const QString& caption, const QString& text) override
    {
        Calls.push_back("error: " + caption.toStdString() + " | " + text.toStdString());
    }
    bool Confirm(const QString& caption, const QString& text) override
    {
        Calls.push_back("confirm: " + (ConfirmRecords == ConfirmLine::Caption ? caption : text).toStdString());
        return ConfirmAnswer;
    }
    Answer AskYesNoCancel(const QString& caption, const QString& text) override
    {
        Calls.push_back("ask: " + text.toStdString());
        (void)caption;
        return YesNoCancelAnswer;
    }
    QString AskOpenFileName(const FileDialogRequest& request) override
    {
        if (RecordFileDialogs)
            Calls.push_back("open");
        OpenRequests.push_back(request);
        return OpenAnswer;
    }
    QString AskSaveFileName(const FileDialogRequest& request) override
    {
        if (RecordFileDialogs)
            Calls.push_back("save");
        SaveRequests.push_back(request);
        return SaveAnswer;
    }
    // OnDialog plays the user; without it the dialog is cancelled.
    int ShowModalDialog(QDialog& dialog) override
    {
        if (DialogRecords == DialogLine::Plain)
            Calls.push_back("dialog");
        else if (DialogRecords == DialogLine::Title)
            Calls.push_back("dialog: " + dialog.windowTitle().toStdString());
        LastDialog = &dialog;
        return OnDialog ? OnDialog(dialog) : QDialog::Rejected;
    }

    std::vector<std::string> TakeCalls() { return std::exchange(Calls, {}); }
    // What the last save dialog was asked; a default request when none was.
    FileDialogRequest LastSaveRequest() const
    {
        return SaveRequests.empty() ? FileDialogRequest{} : SaveRequests.back();
    }

    // What is recorded.
    ConfirmLine ConfirmRecords;
    DialogLine DialogRecords;
    bool RecordFileDialogs = false; // "open" and "save" lines

    // The answers.
    bool ConfirmAnswer = false;
    Answer YesNoCancelAnswer = Answer::No;
    QString OpenAnswer; // empty: the open dialog is cancelled
    QString SaveAnswer; // empty: the save dialog is cancelled
    std::function<int(QDialog&)> OnDialog;

    // The record.
    std::vector<std::string> Calls;
    std::vector<FileDialogRequest> OpenRequests;
    std::vector<FileDialogRequest> SaveRequests;
    QDialog* LastDialog = nullptr;
};

// The settings file of a window whose program folder is folder.
inline QString SettingsFilePath(const QTemporaryDir& folder)
{
    return folder.filePath(QStringLiteral("Quillmark.ini"));
}

// Puts text in place as that settings file before the window is built;
// false when it cannot be written.
inline bool WriteSettingsFile(const QTemporaryDir& folder, const QByteArray& text)
{
    QFile file(SettingsFilePath(folder));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A window's surroundings in a temporary folder: the folder as its program
// folder, the settings file there, a clock stopped at 2024-01-02 03:04:05,
// and dialogs for every modal box.
inline MainFormEnvironment TemporaryFolderEnvironment(const QTemporaryDir& folder,
                                                      std::shared_ptr<ModalDialogs> dialogs)
{
    MainFormEnvironment environment;
    environment.ProgramFolder = folder.path() + QLatin1Char('/');
    environment.HomeFolder = QStringLiteral("/home/user/");
    environment.SettingsPath = SettingsFilePath(folder);
    environment.Clock = [] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); };
    environment.Dialogs = std::move(dialogs);
    return environment;
}

} // namespace quillmark::testsupport
