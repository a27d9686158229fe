#pragma once
// The application object. Its one job beyond QApplication is the error
// convention: an error that escapes a command handler ends that command, is
// shown in an error box titled with the application title, and the program
// goes on running with the state the command left.
#include "settings/Language.h"
#include "ui/app/ModalDialogs.h"

#include <QApplication>
#include <QLocale>

#include <functional>
#include <memory>
#include <optional>

namespace quillmark {

// Runs deliver(); a QuillmarkError or other std::exception escaping it is shown
// through dialogs.ShowError(title, message) and the event counts as handled.
bool DeliverReportingErrors(const std::function<bool()>& deliver, ModalDialogs& dialogs, const QString& title);

// Installs the toolkit's own translations (file dialogs, the buttons of
// message boxes) for the locale's language, so they speak the program's
// language; the system's Qt translation files are used. False when there
// are none for it (English needs none).
bool InstallToolkitTranslations(QCoreApplication& application, const QLocale& locale);

// The window's language for this run: the program's translation (from
// folder, where the program keeps its help text) and the toolkit's own, for
// Russian. Returns whether every file needed was found; without them the
// window speaks Russian.
bool InstallLanguage(QCoreApplication& application, UiLanguage language, const QString& folder);
// The language installed last; Russian until one is.
UiLanguage InstalledLanguage();

// Takes "--lang CODE" or "--lang=CODE" out of arguments. Nothing when there
// is none; error set to the message when the code is not ru or en.
std::optional<UiLanguage> TakeLanguageArgument(QStringList& arguments, QString& error);

class QuillmarkApplication : public QApplication {
    Q_OBJECT
public:
    QuillmarkApplication(int& argc, char** argv);

    // The program file's name without its extension.
    QString Title() const { return m_title; }
    // The boxes used for error reports; the main window's own door, once it exists.
    void SetDialogs(std::shared_ptr<ModalDialogs> dialogs) { m_dialogs = std::move(dialogs); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QString m_title;
    std::shared_ptr<ModalDialogs> m_dialogs;
};

} // namespace quillmark
