// Program entry: the window, or a batch subcommand.
#include "app/BatchCommands.h"
#include "app/MainUnit.h"

#include <QApplication>

#include <string_view>

int main(int argc, char** argv)
{
    if (argc > 1 && (std::string_view(argv[1]) == "decode" || std::string_view(argv[1]) == "trace"))
        return quillmark::RunBatchCommand(argc, argv);
    QApplication app(argc, argv);
    quillmark::TMainForm form;
    form.show();
    return QApplication::exec();
}
