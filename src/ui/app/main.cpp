// Program entry: a batch subcommand, or the window (optionally opening the
// picture named on the command line once the window is shown).
#include "ui/app/BatchEntry.h"
#include "ui/app/MainUnit.h"
#include "ui/app/QuillmarkApplication.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc > 1 && quillmark::IsBatchCommand(argv[1]))
        return quillmark::RunBatchCommand(argc, argv);

    quillmark::QuillmarkApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    QString error;
    const std::optional<quillmark::UiLanguage> commandLine = quillmark::TakeLanguageArgument(arguments, error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    quillmark::MainFormEnvironment environment = quillmark::MainFormEnvironment::ForRunningProgram();
    const QLocale system = QLocale::system();
    const quillmark::UiLanguage language = quillmark::ChooseLanguage(
        commandLine, quillmark::LanguageFromCode(qgetenv("QUILLMARK_LANG").toStdString()),
        quillmark::TMainForm::SavedLanguageOption(environment),
        quillmark::SystemLanguage(system.name().toStdString(), system.uiLanguages().value(0).toStdString()));
    quillmark::InstallLanguage(app, language, environment.ProgramFolder);
    app.SetDialogs(environment.Dialogs);
    quillmark::TMainForm form(std::move(environment));
    form.show();

    if (arguments.size() > 1) {
        const QString picture = arguments.at(1);
        QTimer::singleShot(0, &form, [&form, picture] { form.OpenPictureFile(picture); });
    }
    return QApplication::exec();
}
