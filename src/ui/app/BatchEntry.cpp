#include "ui/app/BatchEntry.h"

#include "ui/formats/ToolkitPictures.h"

#include <QLocale>

#include <iostream>

#include <unistd.h>

namespace quillmark {

BatchEnvironment ProgramBatchEnvironment()
{
    BatchEnvironment environment{QLocale::system().decimalPoint().toStdString(), &BitmapPictureClass()};
    environment.ErrIsTerminal = isatty(STDERR_FILENO) != 0;
    return environment;
}

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunBatchCommand(args, out, err, ProgramBatchEnvironment());
}

std::string TraceText(const TraceOptions& options, const std::string& separator)
{
    return TraceText(options, separator, BitmapPictureClass());
}

int RunBatchCommand(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunBatchCommand(args, std::cout, std::cerr);
}

} // namespace quillmark
