#pragma once
// What the main window is given from outside at construction: where its
// settings file and help text live, the clock, and the door for modal boxes.
// Tests pass a temporary folder and a scripted dialog stand-in, so a window
// test never touches files beside the test binary or opens a real modal box.
#include "ui/app/ModalDialogs.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

namespace quillmark {

struct MainFormEnvironment {
    QString SettingsPath;  // Quillmark.ini beside the program
    // Quillmark.ini in the user's configuration folder, used when the
    // program's folder cannot be written; empty: no fallback.
    QString FallbackSettingsPath;
    QString ProgramFolder; // with a trailing separator; holds Quillmark.txt
    // Where the first open and save dialogs start when no folder was saved:
    // the user's home folder, with a trailing separator.
    QString HomeFolder;
    std::function<QDateTime()> Clock;
    std::shared_ptr<ModalDialogs> Dialogs;

    // The running program's own folder, the system clock and the real boxes.
    static MainFormEnvironment ForRunningProgram();
};

} // namespace quillmark
