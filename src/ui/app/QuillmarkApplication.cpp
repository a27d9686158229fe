#include "ui/app/QuillmarkApplication.h"
#include "ui/app/CoreTexts.h"

#include "base/ErrorText.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace quillmark {

bool DeliverReportingErrors(const std::function<bool()>& deliver, ModalDialogs& dialogs, const QString& title)
{
    // Catching std::exception covers QuillmarkError and its kinds as well as
    // bugs (InternalError) and library failures; each is reported the same way.
    try {
        return deliver();
    } catch (const std::exception& error) {
        dialogs.ShowError(title, QString::fromStdString(ErrorBoxMessage(CoreMessage(error.what()).toStdString())));
        return true;
    } catch (...) {
        dialogs.ShowError(title, QString::fromStdString(ErrorBoxMessage("Internal error")));
        return true;
    }
}

bool InstallToolkitTranslations(QCoreApplication& application, const QLocale& locale)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QuillmarkApplication::QuillmarkApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      m_title(QString::fromStdString(ApplicationTitle(argc > 0 ? argv[0] : ""))),
      m_dialogs(std::make_shared<QtModalDialogs>())
{
    setApplicationName(m_title);
}

bool QuillmarkApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverReportingErrors([&] { return QApplication::notify(receiver, event); }, *m_dialogs, m_title);
}

} // namespace quillmark
