// What 200 undo steps cost on a 6000 x 4000 picture: resident memory before
// and after, with a trace of 6000 points in the history. A step keeps values
// and points, never a picture, so the growth should be the points it holds
// and a few megabytes more.
#include "document/DigitizeSession.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

using namespace quillmark;

namespace {

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main()
{
    constexpr int kWidth = 6000;
    constexpr int kHeight = 4000;
    auto picture = std::make_unique<TFastBMP>(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        std::memset(picture->RowTable()[y], 255, static_cast<std::size_t>(kWidth) * 3);
    for (int x = 0; x < kWidth; ++x)
        std::memset(picture->RowTable()[1000 + x / 3] + 3 * x, 0, 3);

    DigitizeSession session;
    session.SetPlot(PlotRect{0, 0, kWidth, kHeight});
    session.OpenPicture(std::move(picture));
    session.Adjust({});
    session.Trace().Method = TraceMethod::ByColour; // the black line
    session.RunTrace();
    const std::size_t traced = session.Points().Count();
    const double before = ResidentMegabytes();

    // 200 steps: slider changes, typed ranges, shifted ranges, region edits
    // and points placed by hand, in turn.
    for (int k = 0; session.UndoCount() < 201; ++k) {
        switch (k % 5) {
        case 0: {
            AdjustmentValues values = session.Adjustments();
            values.Contrast = 200 + k % 100;
            session.Adjust(values);
            break;
        }
        case 1: {
            const DigitizeSession::Step step(session, StepName::AxisRange);
            session.SetAxisRange(Axis::Y, -3 - k, 3 + k);
            break;
        }
        case 2: {
            const AxisState& x = session.AxisOf(Axis::X);
            const DigitizeSession::Step step(session, StepName::ShiftAxis);
            session.ShiftAxis(Axis::X, {x.Min, x.Max}, ShiftDirection::Increase);
            break;
        }
        case 3: {
            const DigitizeSession::Step step(session, StepName::EditRegion);
            session.DrawRegion(RegionLimits{0, 5.0L + k, -1, 1});
            break;
        }
        default:
            session.AddPoint(DataPoint{k * 0.001, 1, "by hand", Color{0, 0, 255}});
            break;
        }
    }
    const double after = ResidentMegabytes();
    std::printf("picture %dx%d (%.1f MB a buffer), %zu traced points, %zu undo steps\n", kWidth, kHeight,
                kWidth * 3.0 * kHeight / (1024 * 1024), traced, session.UndoCount());
    std::printf("resident before the steps %.1f MB, after %.1f MB: %.2f MB for the steps\n", before, after,
                after - before);
    return 0;
}
