#include "app/MainFormEnvironment.h"

#include <QCoreApplication>
#include <QDir>

namespace quillmark {

MainFormEnvironment MainFormEnvironment::ForRunningProgram()
{
    MainFormEnvironment environment;
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    environment.ProgramFolder = folder;
    environment.SettingsPath = folder + QStringLiteral("Quillmark.ini");
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    environment.FallbackSettingsPath = QDir::toNativeSeparators(config + QStringLiteral("/Quillmark/Quillmark.ini"));
    environment.Clock = [] { return QDateTime::currentDateTime(); };
    environment.Dialogs = std::make_shared<QtModalDialogs>();
    return environment;
}

} // namespace quillmark
