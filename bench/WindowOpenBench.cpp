// Opening a picture in the window, as the command line's picture argument
// does, until the plot has been painted: the time of each open and the peak
// resident memory of the process. Runs offscreen unless a display is named.
//   quillmark_window_bench PICTURE [RUNS]
// The first open starts from an empty window; later ones replace the picture,
// as opening the next of many files does.
#include "ui/app/MainFormEnvironment.h"
#include "ui/app/MainUnit.h"
#include "ui/app/QuillmarkApplication.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {

long PeakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillmark_window_bench PICTURE [RUNS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString picture = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    int appArgc = 1;
    quillmark::QuillmarkApplication app(appArgc, argv);
    QTemporaryDir folder;
    quillmark::MainFormEnvironment environment = quillmark::MainFormEnvironment::ForRunningProgram();
    environment.ProgramFolder = folder.path() + QLatin1Char('/');
    environment.SettingsPath = folder.filePath(QStringLiteral("Quillmark.ini"));
    environment.FallbackSettingsPath.clear();
    quillmark::TMainForm form(std::move(environment));
    form.resize(1280, 900);
    form.show();
    QCoreApplication::processEvents();
    form.repaint();
    std::printf("empty window: peak resident %ld MB\n", PeakResidentMegabytes());

    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        form.OpenPictureFile(picture);
        form.repaint();
        QCoreApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("open %d: %.0f ms, peak resident %ld MB\n", run + 1, ms, PeakResidentMegabytes());
        std::fflush(stdout);
    }
    // Redrawing the plot with the picture in it, as resizing the window does.
    const auto start = std::chrono::steady_clock::now();
    constexpr int kResizes = 10;
    for (int i = 0; i < kResizes; ++i) {
        form.resize(1280 - 8 * (i % 2), 900);
        QCoreApplication::processEvents();
        form.repaint();
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("redraw after a resize: %.1f ms\n", ms / kResizes);
    return 0;
}
