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
    environment.Clock = [] { return QDateTime::currentDateTime(); };
    environment.Dialogs = std::make_shared<QtModalDialogs>();
    return environment;
}

} // namespace quillmark
