#pragma once
// The batch subcommands: `quillmark decode PICTURE OUTPUT.ppm [options]` loads
// a picture through the window's registry and decoders, adjusts it with the
// window's pipeline and writes it as binary PPM. Exit codes: 0 done, 1 the
// picture could not be loaded or written (message on standard error), 2 bad
// arguments (usage on standard error). Standard output stays empty.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillmark {

// The adjustment values, starting where the window's controls start.
struct DecodeOptions {
    std::string Picture;
    std::string Output;
    double Rotate = 0;
    bool Negative = false;
    int Contrast = 255;
    int Lightness = 255;
    int Saturation = 255;
    int CuttingOff = 0;
    int Blur = 0;
};

// The arguments after "decode"; nothing when they are malformed or out of the
// controls' ranges, with the reason in error.
std::optional<DecodeOptions> ParseDecodeArguments(const std::vector<std::string>& args, std::string& error);

// args[0] is the subcommand ("decode").
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Entry from main when argv[1] names a subcommand.
int RunBatchCommand(int argc, char** argv);

} // namespace quillmark
