#include "document/BatchCommands.h"

#include "base/ErrorText.h"
#include "base/Errors.h"
#include "base/FileWrite.h"
#include "base/NumberText.h"
#include "calibration/CalFile.h"
#include "formats/PictureLoader.h"
#include "formats/PpmWriter.h"
#include "formats/StartupFormats.h"
#include "document/DigitizeSession.h"
#include "imaging/OpenedPicture.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>
#include <thread>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <new>
#include <ostream>
#include <string_view>
#include <utility>

namespace quillmark {

namespace {

constexpr const char* kProgramUsage =
    "usage: quillmark [PICTURE]                 the window, opening PICTURE if given\n"
    "       quillmark decode ... | trace ...    the same work without the window:\n"
    "       quillmark --version\n";

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
    const std::optional<double> held = HeldValue(*typed);
    if (!held)
        return false;
    value = *held;
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

AdjustmentValues AdjustmentsOf(const DecodeOptions& options)
{
    AdjustmentValues values;
    values.Lightness = options.Lightness;
    values.Contrast = options.Contrast;
    values.Saturation = options.Saturation;
    values.CuttingOff = options.CuttingOff;
    values.GaussianBlur = options.Blur;
    values.Rotate = options.Rotate;
    values.Invert = options.Negative;
    return values;
}

// Opens the picture through the window's registry and decoders. The plot is
// the picture itself, fitted, as the batch commands always have it.
void OpenPictureFile(DigitizeSession& session, const std::string& fileName, const PictureClass& bitmapClass)
{
    PictureRegistry registry(bitmapClass);
    std::unique_ptr<Graphic> graphic = LoadPicture(registry.Formats(), fileName);
    session.OpenPicture(OpenedPicture(*graphic));
    session.SetPlot(PlotFilledByPicture(session.Source()->Width(), session.Source()->Height()));
}

// One adjustment option of decode (also taken by trace). Nothing when the
// name is not an adjustment option; false for a bad value.
std::optional<bool> ParseAdjustmentOption(const std::string& arg, const std::string& value, DecodeOptions& options,
                                          std::string& error)
{
    if (arg == "--rotate") {
        if (!ParseRotation(value, options.Rotate)) {
            error = "bad value for --rotate: " + value;
            return false;
        }
        return true;
    }
    for (const IntegerOption& o : kIntegerOptions) {
        if (arg != o.Name)
            continue;
        if (!ParseInteger(value, o.Low, o.High, options.*o.Field)) {
            error = "bad value for " + arg + " (" + std::to_string(o.Low) + ".." + std::to_string(o.High) +
                    "): " + value;
            return false;
        }
        return true;
    }
    return std::nullopt;
}

// Runs a command's work: 0 when done, 1 with the error box's text on err
// when the input or the memory failed it.
int ExitCodeOf(std::ostream& err, const std::function<void()>& work)
{
    try {
        work();
    } catch (const QuillmarkError& e) {
        err << ErrorBoxMessage(e.what()) << "\n";
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        err << ErrorBoxMessage("Out of memory") << "\n";
        return kExitFailed;
    }
    return kExitDone;
}

int RunDecode(const std::vector<std::string>& args, std::ostream& err, const PictureClass& bitmapClass)
{
    std::string error;
    const std::optional<DecodeOptions> options = ParseDecodeArguments(args, error);
    if (!options) {
        err << "quillmark decode: " << error << "\n" << kDecodeUsage;
        return kExitBadArguments;
    }
    return ExitCodeOf(err, [&] {
        DigitizeSession session;
        OpenPictureFile(session, options->Picture, bitmapClass);
        // With every adjustment at its start value the adjusted picture is an
        // exact copy of the source: the source itself is written.
        if (AdjustmentsOf(*options) != AdjustmentValues{})
            session.Adjust(AdjustmentsOf(*options));
        const TFastBMP& written = *session.Shown();
        WriteFileReplacing(options->Output, [&written](const ByteSink& sink) {
            StreamBgrPpm(written.Width(), written.Height(), written.RowTable(), sink);
        });
    });
}

constexpr const char* kTraceUsage =
    "usage: quillmark trace PICTURE [options]\n"
    "       quillmark trace PICTURE... --out-dir DIR [--jobs N] [options]\n"
    "                                 DIR/NAME.dat for each picture, N at once (one per core)\n"
    "calibration (at most one; none traces on the start axes X 0..10, Y -3..3):\n"
    "  --axes XMIN,XMAX,YMIN,YMAX     the picture's left, right, bottom and top edges\n"
    "  --cal FILE                     the limits of a calibration file\n"
    "  --points N --pixels \"C0,R0 C1,R1 ...\" --values XMIN,XMAX,YMIN,YMAX [--straighten]\n"
    "                                 N = 2, 3 or 4 reference pixels, in the order the window asks for them\n"
    "  --log-x, --log-y               logarithmic axes\n"
    "  --rev-x, --rev-y               reversed axes with --axes (with --points, values that run backwards)\n"
    "tracing:\n"
    "  --method brightness|colour     (brightness)\n"
    "  --colour RRGGBB                line colour of the colour method (000000)\n"
    "  --step S                       (1)\n"
    "  --step-unit pixels|axis        (pixels)\n"
    "  --line-sens N                  0..500 (50)\n"
    "  --colour-sens N                0..500 (50)\n"
    "  --region XMIN,XMAX,YMIN,YMAX   digitizing region in axis units\n"
    "  --digits P                     0..18 (6)\n"
    "  --subpixel                     rows to a fraction of a pixel, values at pixel centres\n"
    "  --no-fill                      no point where the line is not found\n"
    "  --follow                       keep to one line where a column holds several\n"
    "  --auto-sens                    choose the colour sensitivity from the picture\n"
    "picture: --rotate DEG --negative --contrast N --lightness N --saturation N --cutoff N --blur N\n"
    "output:\n"
    "  --format dat|tsv               data file (dat) or clipboard text (tsv) (dat)\n"
    "  --out FILE                     (standard output)\n"
    "  --decimal-point C              (the locale's)\n"
    "  --help\n";

// A value as a spin edit holds it: read as typed (with "."), kept as its
// 15-digit text, read back as a double.
bool ParseHeldValue(std::string_view text, double& value)
{
    return ParseRotation(text, value);
}

// "A,B,C,D" of held values.
bool ParseFourValues(const std::string& text, std::array<double, 4>& values)
{
    std::size_t from = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t comma = text.find(',', from);
        const bool last = k == 3;
        if (last != (comma == std::string::npos))
            return false;
        const std::string_view part = std::string_view(text).substr(from, last ? std::string::npos : comma - from);
        if (!ParseHeldValue(part, values[k]))
            return false;
        from = comma + 1;
    }
    return true;
}

bool ParsePixels(const std::string& text, std::vector<SurfacePoint>& pixels)
{
    pixels.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view pair = std::string_view(text).substr(at, end - at);
        const std::size_t comma = pair.find(',');
        if (comma == std::string_view::npos)
            return false;
        SurfacePoint p;
        int column = 0;
        int row = 0;
        if (!ParseInteger(pair.substr(0, comma), -1000000, 1000000, column) ||
            !ParseInteger(pair.substr(comma + 1), -1000000, 1000000, row))
            return false;
        p.X = column;
        p.Y = row;
        pixels.push_back(p);
        at = end;
    }
    return true;
}

bool ParseColour(const std::string& text, Color& colour)
{
    if (text.size() != 6)
        return false;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    colour = Color{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                   static_cast<std::uint8_t>(value & 0xFF)};
    return true;
}

std::string ReadCalibrationBytes(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw FileError(FormatMessage("Cannot open file %s", {fileName}));
    std::string bytes;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > kMaxCalFileBytes)
            break;
    }
    return bytes;
}

// What a trace found, for standard error: the columns, and the colour
// sensitivity when one was chosen.
std::string TraceSummaryText(const TraceSummary& summary)
{
    std::string text = "found " + std::to_string(summary.Found) + " of " + std::to_string(summary.Samples) + " columns";
    if (summary.ColourSensitivity >= 0)
        text += ", colour sensitivity " + std::to_string(summary.ColourSensitivity);
    return text + "\n";
}

// The file a picture's points go to in the output folder: its name with the
// format's extension in place of its own.
std::string OutputFileFor(const std::string& picture, const TraceOptions& options)
{
    std::string name = picture.substr(picture.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    std::string folder = options.OutDir;
    if (folder.back() != '/')
        folder += '/';
    return folder + name + (options.Tsv ? ".tsv" : ".dat");
}

// Every picture traced with the same calibration and options, several at
// once; a picture that fails is named and the others are written.
int TraceMany(const TraceOptions& options, std::ostream& err, const BatchEnvironment& environment)
{
    const std::vector<std::string>& pictures = options.Pictures;
    std::vector<std::string> outputs;
    for (const std::string& picture : pictures) {
        outputs.push_back(OutputFileFor(picture, options));
        if (std::count(outputs.begin(), outputs.end(), outputs.back()) > 1) {
            err << "quillmark trace: two pictures would write " << outputs.back() << "\n";
            return kExitBadArguments;
        }
    }
    const std::string separator = options.DecimalPoint.value_or(environment.Separator);
    std::vector<std::string> failures(pictures.size());
    std::atomic<std::size_t> next{0};
    std::size_t done = 0;
    std::mutex report;
    const auto work = [&] {
        for (std::size_t i = next++; i < pictures.size(); i = next++) {
            TraceOptions one = options;
            one.Picture = pictures[i];
            std::ostringstream problem;
            // Nothing may leave a worker: whatever a picture throws is its
            // failure, named with the others.
            try {
                ExitCodeOf(problem, [&] {
                    TraceSummary summary;
                    const std::string text = TraceText(one, separator, *environment.BitmapClass, &summary);
                    WriteFileReplacing(outputs[i], text);
                });
            } catch (const std::exception& e) {
                problem << ErrorBoxMessage(e.what()) << "\n";
            } catch (...) {
                problem << ErrorBoxMessage("Internal error") << "\n";
            }
            const std::lock_guard<std::mutex> lock(report);
            failures[i] = problem.str();
            ++done;
            if (environment.ErrIsTerminal)
                err << "\r" << done << "/" << pictures.size() << " traced" << std::flush;
        }
    };
    const unsigned cores = options.Jobs > 0            ? static_cast<unsigned>(options.Jobs)
                           : environment.Threads != 0 ? environment.Threads
                                                      : std::max(1U, std::thread::hardware_concurrency());
    const unsigned count = static_cast<unsigned>(std::min<std::size_t>(cores, pictures.size()));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < count; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    if (environment.ErrIsTerminal)
        err << "\n";
    int code = kExitDone;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (failures[i].empty())
            continue;
        err << pictures[i] << ": " << failures[i];
        code = kExitFailed;
    }
    return code;
}

int RunTrace(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchEnvironment& environment)
{
    std::string error;
    const std::optional<TraceOptions> options = ParseTraceArguments(args, error);
    if (!options) {
        err << "quillmark trace: " << error << "\n" << kTraceUsage;
        return kExitBadArguments;
    }
    if (options->Help) {
        out << kTraceUsage;
        return kExitDone;
    }
    if (!options->OutDir.empty())
        return TraceMany(*options, err, environment);
    return ExitCodeOf(err, [&] {
        TraceSummary summary;
        const std::string text = TraceText(*options, options->DecimalPoint.value_or(environment.Separator),
                                           *environment.BitmapClass, &summary);
        if (options->Out.empty())
            out << text << std::flush;
        else
            WriteFileReplacing(options->Out, text);
        err << TraceSummaryText(summary);
    });
}

// A word that names one of a few choices; false when it names none.
template <class T>
bool ParseChoice(const std::string& value, std::initializer_list<std::pair<std::string_view, T>> choices, T& out)
{
    for (const auto& [word, choice] : choices) {
        if (value == word) {
            out = choice;
            return true;
        }
    }
    return false;
}

// One "--name value" option of the trace command; false with error set when
// it is unknown or its value is bad.
bool ParseTraceOption(const std::string& arg, const std::string& value, TraceOptions& options, int& calibrations,
                      bool& pixelsGiven, bool& valuesGiven, std::string& error)
{
    const auto bad = [&] {
        error = "bad value for " + arg + ": " + value;
        return false;
    };
    if (const std::optional<bool> adjust = ParseAdjustmentOption(arg, value, options.Adjust, error)) {
        if (!*adjust)
            return false;
    } else if (arg == "--axes") {
        ++calibrations;
        options.Calibration = TraceCalibration::Axes;
        if (!ParseFourValues(value, options.Axes))
            return bad();
    } else if (arg == "--cal") {
        ++calibrations;
        options.Calibration = TraceCalibration::CalFile;
        options.CalFile = value;
    } else if (arg == "--points") {
        ++calibrations;
        options.Calibration = TraceCalibration::Points;
        if (!ParseInteger(value, 2, 4, options.Points))
            return bad();
    } else if (arg == "--pixels") {
        pixelsGiven = true;
        if (!ParsePixels(value, options.Pixels))
            return bad();
    } else if (arg == "--values") {
        valuesGiven = true;
        if (!ParseFourValues(value, options.Values))
            return bad();
    } else if (arg == "--method") {
        if (!ParseChoice(value, {{"brightness", TraceMethod::MaxBrightness}, {"colour", TraceMethod::ByColour}},
                         options.Method))
            return bad();
    } else if (arg == "--colour") {
        if (!ParseColour(value, options.LineColour))
            return bad();
    } else if (arg == "--step") {
        if (!ParseHeldValue(value, options.Step))
            return bad();
    } else if (arg == "--step-unit") {
        if (!ParseChoice(value, {{"pixels", StepUnit::Pixels}, {"axis", StepUnit::AxisUnits}}, options.Unit))
            return bad();
    } else if (arg == "--line-sens") {
        if (!ParseInteger(value, 0, 500, options.LineSens))
            return bad();
    } else if (arg == "--colour-sens") {
        if (!ParseInteger(value, 0, 500, options.ColorSens))
            return bad();
    } else if (arg == "--region") {
        std::array<double, 4> region{};
        if (!ParseFourValues(value, region))
            return bad();
        options.Region = region;
    } else if (arg == "--digits") {
        if (!ParseInteger(value, 0, 18, options.Digits))
            return bad();
    } else if (arg == "--format") {
        if (!ParseChoice(value, {{"dat", false}, {"tsv", true}}, options.Tsv))
            return bad();
    } else if (arg == "--out") {
        if (value.empty())
            return bad();
        options.Out = value;
    } else if (arg == "--jobs") {
        if (!ParseInteger(value, 1, 1024, options.Jobs))
            return bad();
    } else if (arg == "--out-dir") {
        if (value.empty())
            return bad();
        options.OutDir = value;
    } else if (arg == "--decimal-point") {
        if (value.empty())
            return bad();
        options.DecimalPoint = value;
    } else {
        error = "unknown option " + arg;
        return false;
    }
    return true;
}

enum class ArgumentStep { Next, Stop, Failed };

// Walks the words of a command: a word in `switches` stands alone, any other
// word starting with "--" takes the next word as its value, the rest are
// positional. `take` gets each switch (value null) and option in order and
// says whether to go on; an option without a value is an error.
ArgumentStep WalkArguments(const std::vector<std::string>& args, std::initializer_list<std::string_view> switches,
                           const std::function<ArgumentStep(const std::string&, const std::string*)>& take,
                           std::vector<std::string>& positional, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isSwitch = std::find(switches.begin(), switches.end(), arg) != switches.end();
        if (!isSwitch && !arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        if (!isSwitch && i + 1 >= args.size()) {
            error = "missing value for " + arg;
            return ArgumentStep::Failed;
        }
        const ArgumentStep step = take(arg, isSwitch ? nullptr : &args[++i]);
        if (step != ArgumentStep::Next)
            return step;
    }
    return ArgumentStep::Next;
}

} // namespace

std::optional<DecodeOptions> ParseDecodeArguments(const std::vector<std::string>& args, std::string& error)
{
    DecodeOptions options;
    std::vector<std::string> positional;
    const auto take = [&](const std::string& arg, const std::string* value) {
        if (value == nullptr) {
            options.Negative = true;
            return ArgumentStep::Next;
        }
        const std::optional<bool> parsed = ParseAdjustmentOption(arg, *value, options, error);
        if (!parsed)
            error = "unknown option " + arg;
        return parsed.value_or(false) ? ArgumentStep::Next : ArgumentStep::Failed;
    };
    if (WalkArguments(args, {"--negative"}, take, positional, error) == ArgumentStep::Failed)
        return std::nullopt;
    if (positional.size() != 2) {
        error = "expected PICTURE and OUTPUT.ppm";
        return std::nullopt;
    }
    options.Picture = positional[0];
    options.Output = positional[1];
    return options;
}

std::optional<TraceOptions> ParseTraceArguments(const std::vector<std::string>& args, std::string& error)
{
    TraceOptions options;
    std::vector<std::string> positional;
    int calibrations = 0;
    bool pixelsGiven = false;
    bool valuesGiven = false;
    const auto take = [&](const std::string& arg, const std::string* given) {
        if (given == nullptr) {
            if (arg == "--help") {
                options.Help = true;
                return ArgumentStep::Stop;
            }
            if (arg == "--subpixel")
                options.Precise.SubPixel = true;
            else if (arg == "--no-fill")
                options.Precise.NoFill = true;
            else if (arg == "--follow")
                options.Precise.Follow = true;
            else if (arg == "--auto-sens")
                options.Precise.AutoSens = true;
            else if (arg == "--log-x" || arg == "--log-y")
                (arg == "--log-x" ? options.XKind : options.YKind).Log = true;
            else if (arg == "--rev-x" || arg == "--rev-y")
                (arg == "--rev-x" ? options.XKind : options.YKind).Reversed = true;
            else
                (arg == "--negative" ? options.Adjust.Negative : options.Straighten) = true;
            return ArgumentStep::Next;
        }
        const std::string& value = *given;
        return ParseTraceOption(arg, value, options, calibrations, pixelsGiven, valuesGiven, error)
                   ? ArgumentStep::Next
                   : ArgumentStep::Failed;
    };
    switch (WalkArguments(args,
                          {"--help", "--negative", "--straighten", "--log-x", "--log-y", "--rev-x", "--rev-y",
                           "--subpixel", "--no-fill", "--follow", "--auto-sens"},
                          take, positional, error)) {
    case ArgumentStep::Failed: return std::nullopt;
    case ArgumentStep::Stop: return options;
    case ArgumentStep::Next: break;
    }
    if (positional.empty() || (positional.size() > 1 && options.OutDir.empty())) {
        error = options.OutDir.empty() ? "expected one PICTURE" : "expected PICTURE...";
        return std::nullopt;
    }
    if (!options.OutDir.empty() && !options.Out.empty()) {
        error = "give --out or --out-dir, not both";
        return std::nullopt;
    }
    if (calibrations > 1) {
        error = "give at most one of --axes, --cal and --points";
        return std::nullopt;
    }
    if (options.Calibration == TraceCalibration::Points) {
        if (!pixelsGiven || !valuesGiven) {
            error = "--points needs --pixels and --values";
            return std::nullopt;
        }
        if (options.Pixels.size() != static_cast<std::size_t>(options.Points)) {
            error = "--pixels must give " + std::to_string(options.Points) + " pixels";
            return std::nullopt;
        }
    } else if (pixelsGiven || valuesGiven || options.Straighten) {
        error = "--pixels, --values and --straighten go with --points";
        return std::nullopt;
    }
    options.Picture = positional[0];
    options.Pictures = positional;
    return options;
}

namespace {

// Sets both ranges as the window's limit edits would: X first.
void SetRanges(DigitizeSession& session, long double xMin, long double xMax, long double yMin, long double yMax)
{
    session.SetAxisRange(Axis::X, xMin, xMax);
    session.SetAxisRange(Axis::Y, yMin, yMax);
}

} // namespace

std::string TraceText(const TraceOptions& options, const std::string& separator, const PictureClass& bitmapClass,
                      TraceSummary* summary)
{
    DigitizeSession session;
    OpenPictureFile(session, options.Picture, bitmapClass);
    session.Adjust(AdjustmentsOf(options.Adjust));

    switch (options.Calibration) {
    case TraceCalibration::None:
        break;
    case TraceCalibration::Axes:
        // The picture's edges: left, right, bottom, top (right of left and
        // top of bottom; --rev-x and --rev-y turn an axis round).
        SetRanges(session, options.Axes[0], options.Axes[1], options.Axes[2], options.Axes[3]);
        session.SetAxisKind(Axis::X, options.XKind);
        session.SetAxisKind(Axis::Y, options.YKind);
        break;
    case TraceCalibration::CalFile: {
        const std::optional<CalibrationFile> cal = ReadCalFile(ReadCalibrationBytes(options.CalFile), separator);
        if (!cal)
            throw FileError(FormatMessage("%s is not a calibration file", {options.CalFile}));
        // Loading writes each value into its spin edit.
        const auto held = [](double v) {
            const std::optional<double> out = HeldValue(v);
            if (!out)
                throw ConvertError(FormatMessage("'%s' is not a valid floating point value", {FullPrecisionText(v, ".")}));
            return *out;
        };
        SetRanges(session, held(cal->Xmin), held(cal->Xmax), held(cal->Ymin), held(cal->Ymax));
        break;
    }
    case TraceCalibration::Points: {
        session.SetAxisKind(Axis::X, AxisKind{options.XKind.Log, false});
        session.SetAxisKind(Axis::Y, AxisKind{options.YKind.Log, false});
        session.SetCalibrationMethod(static_cast<CalibrationMethod>(options.Points - 2));
        session.BeginCalibration();
        for (const SurfacePoint& pixel : options.Pixels)
            session.ReferenceClick(pixel);
        const ReferenceValues values{options.Values[0], options.Values[1], options.Values[2], options.Values[3]};
        session.Calibrate(values, options.Straighten);
        break;
    }
    }

    TraceSettings& trace = session.Trace();
    trace.Step = options.Step;
    trace.Unit = options.Unit;
    trace.Method = options.Method;
    trace.LineSens = options.LineSens;
    trace.ColorSens = options.ColorSens;
    trace.LineColour = options.LineColour;
    trace.Precise = options.Precise;
    if (options.Region) {
        const std::array<double, 4>& r = *options.Region;
        session.DrawRegion(RegionLimits{r[0], r[1], r[2], r[3]});
    }
    const TraceStatus status = session.RunTrace();
    if (summary != nullptr)
        *summary = session.LastTrace();
    if (status == TraceStatus::NoLineFound)
        throw TraceError("Линия не найдена");
    return options.Tsv ? session.ClipboardText(separator) : session.DataFileText(options.Digits, separator);
}

namespace {

int RunBatchWords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const BatchEnvironment& environment)
{
    if (!args.empty() && args[0] == "decode")
        return RunDecode(std::vector<std::string>(args.begin() + 1, args.end()), err, *environment.BitmapClass);
    if (!args.empty() && args[0] == "trace")
        return RunTrace(std::vector<std::string>(args.begin() + 1, args.end()), out, err, environment);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kProgramUsage << kDecodeUsage << kTraceUsage;
        return kExitDone;
    }
    if (!args.empty() && args[0] == "--version") {
        out << "Quillmark " << QUILLMARK_VERSION << "\n";
        return kExitDone;
    }
    err << kDecodeUsage << kTraceUsage;
    return kExitBadArguments;
}

} // namespace

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const BatchEnvironment& environment)
{
    // The commands report the errors of input themselves; whatever else is
    // thrown (a library's failure, a fault of ours) still ends as a message
    // and exit code 1, never as an abort.
    try {
        return RunBatchWords(args, out, err, environment);
    } catch (const std::exception& e) {
        err << ErrorBoxMessage(e.what()) << "\n";
    } catch (...) {
        err << ErrorBoxMessage("Internal error") << "\n";
    }
    return kExitFailed;
}

bool IsBatchCommand(const char* word)
{
    const std::string_view w(word);
    return w == "decode" || w == "trace" || w == "--help" || w == "-h" || w == "--version";
}

} // namespace quillmark
