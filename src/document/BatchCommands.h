#pragma once
// The batch subcommands, as short scripts over a DigitizeSession: the same
// operations the window's commands call.
// `quillmark decode PICTURE OUTPUT.ppm [options]` opens a picture through the
// window's registry and decoders, adjusts it with the window's pipeline and
// writes it as binary PPM. Exit codes: 0 done, 1 the picture could not be
// loaded or written (message on standard error), 2 bad arguments (usage on
// standard error). Standard output stays empty.
// What only the toolkit knows comes in as parameters: the decimal separator
// of the user's locale and the reader of BMP pictures.
#include "calibration/PlotGeometry.h"
#include "digitize/Trace.h"
#include "formats/PictureClass.h"

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillmark {

struct TraceSummary;

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

// `quillmark trace PICTURE [options]`: the window's load, pipeline and trace,
// with the picture filling the plot rectangle exactly. Every value is where
// the window would hold it: limits, steps, rotation and region pass through a
// spin edit's 15-digit text, the axis bounds are doubles.
enum class TraceCalibration { None, Axes, CalFile, Points };

struct TraceOptions {
    std::string Picture;
    std::vector<std::string> Pictures;     // every PICTURE given; with --out-dir, each is traced
    std::string OutDir;                    // --out-dir: DIR/NAME.dat for each picture
    int Jobs = 0;                          // --jobs: pictures traced at once; 0: one per core
    DecodeOptions Adjust;                  // Picture and Output unused
    TraceCalibration Calibration = TraceCalibration::None;
    std::array<double, 4> Axes{0.0, 10.0, -3.0, 3.0}; // XMIN, XMAX, YMIN, YMAX
    std::string CalFile;
    int Points = 0;                        // 2, 3 or 4 with --pixels and --values
    std::vector<SurfacePoint> Pixels;      // in the order the window asks for them
    std::array<double, 4> Values{};        // XMIN, XMAX, YMIN, YMAX of the references
    bool Straighten = false;
    AxisKind XKind;                        // --log-x, --log-y; reversed from values that run backwards
    AxisKind YKind;
    TraceMethod Method = TraceMethod::MaxBrightness;
    Color LineColour;                      // black, as the colour panel starts
    double Step = 1.0;
    StepUnit Unit = StepUnit::Pixels;
    int LineSens = 50;
    int ColorSens = 50;
    std::optional<std::array<double, 4>> Region; // XMIN, XMAX, YMIN, YMAX
    PreciseTrace Precise;                  // --subpixel, --no-fill, --follow, --auto-sens
    int Digits = 6;
    bool Tsv = false;                      // the clipboard text instead of the data file
    std::string Out;                       // empty: standard output
    std::optional<std::string> DecimalPoint;
    bool Help = false;
};

// The arguments after "trace"; nothing when they are malformed, with the
// reason in error.
std::optional<TraceOptions> ParseTraceArguments(const std::vector<std::string>& args, std::string& error);

struct BatchEnvironment {
    std::string Separator;                    // where --decimal-point is not given
    const PictureClass* BitmapClass = nullptr; // the toolkit's BMP reader
    bool ErrIsTerminal = false;               // progress lines go to a terminal only
    unsigned Threads = 0;                     // pictures traced at once; 0: every core
};

// Loads, adjusts, calibrates and traces; returns the text to write. Throws a
// QuillmarkError when the picture, the calibration or the trace fails (no line
// found included).
// summary, when given, receives what the trace found.
std::string TraceText(const TraceOptions& options, const std::string& separator, const PictureClass& bitmapClass,
                      TraceSummary* summary = nullptr);

// args[0] is the subcommand ("decode" or "trace"), or "--help" / "-h" (the
// program's usage on out) or "--version" (its name and version on out).
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const BatchEnvironment& environment);

// Whether the first word after the program name runs without the window.
bool IsBatchCommand(const char* word);

} // namespace quillmark
