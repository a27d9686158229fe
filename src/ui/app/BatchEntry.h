#pragma once
// The batch commands with what only the toolkit knows: the user's decimal
// separator and the BMP reader.
#include "document/BatchCommands.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace quillmark {

BatchEnvironment ProgramBatchEnvironment();

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
std::string TraceText(const TraceOptions& options, const std::string& separator);

// Entry from main when IsBatchCommand(argv[1]).
int RunBatchCommand(int argc, char** argv);

} // namespace quillmark
