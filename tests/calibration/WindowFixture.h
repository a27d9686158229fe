#pragma once
// A main window built offscreen in a temporary program folder, with every
// modal request answered by a script and recorded, so no test reaches a real
// modal box.
#include "app/MainUnit.h"
#include "widgets/SpinEdit.h"

#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quillmark::testing {

class ScriptedDialogs : public ModalDialogs {
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
    int ShowModalDialog(QDialog& dialog) override
    {
        Calls.push_back("dialog");
        LastDialog = &dialog;
        return 0;
    }

    std::vector<std::string> Take() { return std::exchange(Calls, {}); }

    std::vector<std::string> Calls;
    QDialog* LastDialog = nullptr;
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        MainFormEnvironment environment;
        environment.ProgramFolder = folder.path() + QLatin1Char('/');
        environment.SettingsPath = folder.filePath(QStringLiteral("Quillmark.ini"));
        environment.Clock = [] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); };
        dialogs = std::make_shared<ScriptedDialogs>();
        environment.Dialogs = dialogs;
        form = std::make_unique<TMainForm>(std::move(environment));
        for (SpinEdit* edit : {form->spXMin, form->spXMax, form->spYMin, form->spYMax, form->spXIncrement,
                               form->spYIncrement})
            edit->SetDecimalSeparator(QStringLiteral("."));
    }

    QTemporaryDir folder;
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::testing
