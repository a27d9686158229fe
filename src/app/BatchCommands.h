#pragma once
// Batch subcommands of the program (quillmark decode ..., quillmark trace ...):
// the window's own core code without a window. Exit codes: 0 done, 1 the work
// failed (message on standard error), 2 bad arguments (usage on standard error).
namespace quillmark {

// argv[1] is the subcommand name.
int RunBatchCommand(int argc, char** argv);

} // namespace quillmark
