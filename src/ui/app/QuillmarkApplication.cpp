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

namespace {

UiLanguage g_language = UiLanguage::Russian;

} // namespace

bool InstallLanguage(QCoreApplication& application, UiLanguage language, const QString& folder)
{
    if (language == UiLanguage::Russian) {
        g_language = language;
        InstallToolkitTranslations(application, QLocale(QLocale::Russian, QLocale::Russia));
        return true;
    }
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("quillmark_en"), folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    g_language = language;
    return true;
}

UiLanguage InstalledLanguage()
{
    return g_language;
}

std::optional<UiLanguage> TakeLanguageArgument(QStringList& arguments, QString& error)
{
    std::optional<UiLanguage> chosen;
    for (qsizetype i = 1; i < arguments.size();) {
        QString code;
        if (arguments[i] == QStringLiteral("--lang")) {
            code = i + 1 < arguments.size() ? arguments[i + 1] : QString();
            arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
        } else if (arguments[i].startsWith(QStringLiteral("--lang="))) {
            code = arguments[i].mid(7);
            arguments.remove(i);
        } else {
            ++i;
            continue;
        }
        chosen = LanguageFromCode(code.toStdString());
        if (!chosen) {
            error = QStringLiteral("--lang takes ru or en, not \"%1\"").arg(code);
            return std::nullopt;
        }
    }
    return chosen;
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
