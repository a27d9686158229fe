#include "app/BatchCommands.h"

#include "app/ErrorText.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "formats/PictureLoader.h"
#include "formats/PpmWriter.h"
#include "formats/StartupFormats.h"
#include "formats/ToolkitPictures.h"
#include "imaging/AdjustmentPipeline.h"
#include "imaging/FastBMP.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <new>
#include <ostream>
#include <string_view>

namespace quillmark {

namespace {

constexpr const char* kDecodeUsage =
    "usage: quillmark decode PICTURE OUTPUT.ppm [--rotate DEG] [--negative] [--contrast N] [--lightness N]\n"
    "                        [--saturation N] [--cutoff N] [--blur N]\n";

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

bool ParseInteger(std::string_view text, int low, int high, int& value)
{
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// The rotation travels as the window's spin edit holds it: the text is read
// as the edit reads what is typed, written back as its 15-digit text and read
// again as a double.
bool ParseRotation(std::string_view text, double& value)
{
    const std::optional<long double> typed = ParseNumber(text, ".");
    if (!typed)
        return false;
    const std::optional<long double> held = ParseNumber(FullPrecisionText(*typed, "."), ".");
    if (!held || !std::isfinite(static_cast<double>(*held)))
        return false;
    value = static_cast<double>(*held);
    return true;
}

struct IntegerOption {
    std::string_view Name;
    int DecodeOptions::*Field;
    int Low;
    int High;
};

// The ranges of the window's controls.
constexpr IntegerOption kIntegerOptions[] = {
    {"--contrast", &DecodeOptions::Contrast, 0, 510},
    {"--lightness", &DecodeOptions::Lightness, 0, 510},
    {"--saturation", &DecodeOptions::Saturation, 0, 510},
    {"--cutoff", &DecodeOptions::CuttingOff, 0, 255},
    {"--blur", &DecodeOptions::Blur, 0, 100},
};

std::vector<std::uint8_t> AdjustedPpm(const Bitmap& picture, const DecodeOptions& options)
{
    const std::unique_ptr<TFastBMP> source = TFastBMP::CreateFromBitmap(picture);
    const std::unique_ptr<TFastBMP> work = TFastBMP::CreateCopy(*source);
    AdjustmentValues values;
    values.Lightness = options.Lightness;
    values.Contrast = options.Contrast;
    values.Saturation = options.Saturation;
    values.CuttingOff = options.CuttingOff;
    values.GaussianBlur = options.Blur;
    values.Rotate = options.Rotate;
    values.Invert = options.Negative;
    RunAdjustmentPipeline(*source, *work, values);
    return EncodeBgrPpm(work->Width(), work->Height(), work->RowTable());
}

int RunDecode(const std::vector<std::string>& args, std::ostream& err)
{
    std::string error;
    const std::optional<DecodeOptions> options = ParseDecodeArguments(args, error);
    if (!options) {
        err << "quillmark decode: " << error << "\n" << kDecodeUsage;
        return kExitBadArguments;
    }
    try {
        PictureRegistry registry(BitmapPictureClass());
        std::unique_ptr<Graphic> graphic = LoadPicture(registry.Formats(), options->Picture);
        WriteFileReplacing(options->Output, AdjustedPpm(graphic->TakeBitmap(), *options));
    } catch (const QuillmarkError& e) {
        err << ErrorBoxMessage(e.what()) << "\n";
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        err << ErrorBoxMessage("Out of memory") << "\n";
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace

std::optional<DecodeOptions> ParseDecodeArguments(const std::vector<std::string>& args, std::string& error)
{
    DecodeOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--negative") {
            options.Negative = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value for " + arg;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool known = false;
        if (arg == "--rotate") {
            known = true;
            if (!ParseRotation(value, options.Rotate)) {
                error = "bad value for --rotate: " + value;
                return std::nullopt;
            }
        }
        for (const IntegerOption& o : kIntegerOptions) {
            if (arg != o.Name)
                continue;
            known = true;
            if (!ParseInteger(value, o.Low, o.High, options.*o.Field)) {
                error = "bad value for " + arg + " (" + std::to_string(o.Low) + ".." + std::to_string(o.High) +
                        "): " + value;
                return std::nullopt;
            }
        }
        if (!known) {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (positional.size() != 2) {
        error = "expected PICTURE and OUTPUT.ppm";
        return std::nullopt;
    }
    options.Picture = positional[0];
    options.Output = positional[1];
    return options;
}

int RunBatchCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    if (!args.empty() && args[0] == "decode")
        return RunDecode(std::vector<std::string>(args.begin() + 1, args.end()), err);
    err << kDecodeUsage;
    return kExitBadArguments;
}

int RunBatchCommand(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunBatchCommand(args, std::cout, std::cerr);
}

} // namespace quillmark
