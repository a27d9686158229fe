#pragma once
// The program's own icon: graph paper with a traced curve, its points and a
// quill, drawn with QPainter at any size so it is sharp at every scale. The
// same drawing is written out as the hicolor PNGs at install time.
#include <QIcon>
#include <QImage>

namespace quillmark {

QImage ProgramIconImage(int size);
QIcon ProgramIcon();

} // namespace quillmark
