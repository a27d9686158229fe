#include "app/BatchCommands.h"

#include <iostream>

namespace quillmark {

int RunBatchCommand(int /*argc*/, char** argv)
{
    std::cerr << "usage: " << (argv[0] ? argv[0] : "quillmark") << " decode|trace PICTURE [options]\n"
              << "The batch subcommands are not available in this build.\n";
    return 2;
}

} // namespace quillmark
