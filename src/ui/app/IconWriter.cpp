// Build-time helper: writes the program icon as PNG files of the given sizes
// into a folder, for the hicolor theme.
#include "ui/app/ProgramIcon.h"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: quillmark_icons FOLDER SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = folder + QStringLiteral("/quillmark-%1.png").arg(size);
        if (size <= 0 || !quillmark::ProgramIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
