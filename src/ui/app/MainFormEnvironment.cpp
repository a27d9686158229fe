#include "ui/app/MainFormEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quillmark {

MainFormEnvironment MainFormEnvironment::ForRunningProgram()
{
    MainFormEnvironment environment;
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    environment.ProgramFolder = folder;
    // Installed, the help text lives in the shared data folder beside bin/.
    const QString installedHelp =
        QDir::cleanPath(folder + QStringLiteral("../share/quillmark")) + QDir::separator();
    if (!QFileInfo::exists(folder + QStringLiteral("Quillmark.txt")) &&
        QFileInfo::exists(installedHelp + QStringLiteral("Quillmark.txt")))
        environment.ProgramFolder = installedHelp;
    environment.HomeFolder = QDir::toNativeSeparators(QDir::homePath());
    if (!environment.HomeFolder.endsWith(QDir::separator()))
        environment.HomeFolder += QDir::separator();
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
