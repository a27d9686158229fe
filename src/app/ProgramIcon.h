#pragma once
// The program's own icon: a chart with a traced red curve, drawn with
// QPainter at any size so it is sharp at every scale. The same drawing is
// written out as the hicolor PNGs at install time.
#include <QIcon>
#include <QImage>

namespace quillmark {

QImage ProgramIconImage(int size);
QIcon ProgramIcon();

} // namespace quillmark
