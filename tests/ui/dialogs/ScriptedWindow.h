#pragma once
// A main window for tests of the calibration and options handlers: its modal
// requests are answered by a script and recorded ("confirm: <caption>",
// "dialog: <title>"), and its settings file lives in a temporary folder.
#include "ui/app/MainUnit.h"
#include "ui/support/RecordingDialogs.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace quillmark::dialogtest {

struct ScriptedWindow {
    // settingsText, when given, is the settings file the window starts with.
    explicit ScriptedWindow(const QByteArray& settingsText = {})
    {
        if (!settingsText.isEmpty()) {
            EXPECT_TRUE(testsupport::WriteSettingsFile(folder, settingsText));
        }
        using Dialogs = testsupport::RecordingDialogs;
        dialogs = std::make_shared<Dialogs>(Dialogs::ConfirmLine::Caption, Dialogs::DialogLine::Title);
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(folder, dialogs));
    }

    QTemporaryDir folder;
    std::shared_ptr<testsupport::RecordingDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::dialogtest
