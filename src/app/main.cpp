// Program entry: the window, or a batch subcommand.
#include "app/MainUnit.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    quillmark::TMainForm form;
    form.show();
    return QApplication::exec();
}
