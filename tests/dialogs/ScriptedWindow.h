#pragma once
// A main window for tests of the calibration and options handlers: its modal
// requests are answered by a script and recorded, and its settings file lives
// in a temporary folder.
#include "app/MainUnit.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillmark::dialogtest {

class ScriptedDialogScript : public ModalDialogs {
public:
    void ShowMessage(const QString& text) override { Calls.push_back("message: " + text.toStdString()); }
    void ShowError(const QString& caption, const QString& text) override
    {
        Calls.push_back("error: " + caption.toStdString() + " | " + text.toStdString());
    }
    bool Confirm(const QString& caption, const QString&) override
    {
        Calls.push_back("confirm: " + caption.toStdString());
        return false;
    }
    QString AskOpenFileName(const FileDialogRequest&) override { return {}; }
    QString AskSaveFileName(const FileDialogRequest&) override { return {}; }
    // The script plays the user; without one the dialog is cancelled.
    int ShowModalDialog(QDialog& dialog) override
    {
        Calls.push_back("dialog: " + dialog.windowTitle().toStdString());
        return OnDialog ? OnDialog(dialog) : QDialog::Rejected;
    }

    std::vector<std::string> TakeCalls() { return std::exchange(Calls, {}); }

    std::vector<std::string> Calls;
    std::function<int(QDialog&)> OnDialog;
};

struct ScriptedWindow {
    explicit ScriptedWindow(const QByteArray& settingsText = {})
    {
        const QString path = folder.filePath(QStringLiteral("Quillmark.ini"));
        if (!settingsText.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(settingsText);
        }
        MainFormEnvironment environment;
        environment.ProgramFolder = folder.path() + QLatin1Char('/');
        environment.SettingsPath = path;
        dialogs = std::make_shared<ScriptedDialogScript>();
        environment.Dialogs = dialogs;
        form = std::make_unique<TMainForm>(std::move(environment));
    }

    QTemporaryDir folder;
    std::shared_ptr<ScriptedDialogScript> dialogs;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::dialogtest
