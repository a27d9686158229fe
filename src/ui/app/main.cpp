// Program entry: a batch subcommand, or the window (optionally opening the
// picture named on the command line once the window is shown).
#include "ui/app/BatchEntry.h"
#include "ui/app/MainUnit.h"
#include "ui/app/QuillmarkApplication.h"

#include <QTimer>

int main(int argc, char** argv)
{
    if (argc > 1 && quillmark::IsBatchCommand(argv[1]))
        return quillmark::RunBatchCommand(argc, argv);

    quillmark::QuillmarkApplication app(argc, argv);
    quillmark::InstallToolkitTranslations(app, QLocale::system());
    quillmark::MainFormEnvironment environment = quillmark::MainFormEnvironment::ForRunningProgram();
    app.SetDialogs(environment.Dialogs);
    quillmark::TMainForm form(std::move(environment));
    form.show();

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        const QString picture = arguments.at(1);
        QTimer::singleShot(0, &form, [&form, picture] { form.OpenPictureFile(picture); });
    }
    return QApplication::exec();
}
