#include "ui/widgets/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace quillmark {

namespace {

// How much of the top strip must show for the window to be dragged back.
constexpr int kReachableWidth = 40;
constexpr int kReachableHeight = 20;

QRect Limited(QRect r, const QRect& screen)
{
    r.setWidth(std::min(r.width(), screen.width()));
    r.setHeight(std::min(r.height(), screen.height()));
    return r;
}

} // namespace

QRect ReachablePlacement(const QRect& wanted, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return wanted;
    const QRect strip(wanted.left(), wanted.top(), std::max(wanted.width(), 1), kReachableHeight);
    for (const QRect& screen : screens) {
        const QRect shown = strip.intersected(screen);
        if (shown.width() >= std::min(kReachableWidth, std::max(wanted.width(), 1)) &&
            shown.height() >= kReachableHeight)
            return wanted;
    }
    QRect moved = Limited(wanted, screens.front());
    moved.moveTopLeft(screens.front().topLeft());
    return moved;
}

void KeepOnScreen(QWidget& window)
{
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens.append(screen->availableGeometry());
    }
    const QRect wanted(window.pos(), window.size());
    const QRect placed = ReachablePlacement(wanted, screens);
    if (placed.topLeft() != wanted.topLeft())
        window.move(placed.topLeft());
    if (placed.size() != wanted.size())
        window.resize(placed.size());
}

} // namespace quillmark
