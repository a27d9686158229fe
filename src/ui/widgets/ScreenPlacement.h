#pragma once
// Keeping a window restored from saved coordinates where the user can reach
// it: a saved position may belong to a screen that is no longer attached, or
// to a larger one.

#include <QList>
#include <QRect>

class QWidget;

namespace quillmark {

// The rectangle a window of `wanted` geometry should take, given the screens'
// available areas. A window whose top strip (where its title bar is grabbed)
// shows at least 40 x 20 pixels on some screen stays as it is; any other
// window moves to the top left corner of the first screen's available area,
// no larger than that area. No screens: as wanted.
QRect ReachablePlacement(const QRect& wanted, const QList<QRect>& screens);

// ReachablePlacement for a top-level widget and the application's screens.
void KeepOnScreen(QWidget& window);

} // namespace quillmark
