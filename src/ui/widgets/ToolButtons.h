#pragma once
// A toolbar toggle button with a drop-down arrow and a row of glyphs, one of
// which it shows. The glyph index is the button's state that other code reads
// (for example the calibration method), so it lives here and nowhere else.
#include <QIcon>
#include <QList>
#include <QToolButton>

class QMenu;

namespace quillmark {

class DropDownToolButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kWidth = 35;

    DropDownToolButton(QList<QIcon> glyphs, QMenu* dropDown, QWidget* parent = nullptr);

    int GlyphIndex() const { return m_glyphIndex; }
    // Out-of-range indices are ignored: the glyph index is read back as a
    // method number, so it must always name a glyph that exists.
    void SetGlyphIndex(int index);
    int GlyphCount() const { return static_cast<int>(m_glyphs.size()); }

signals:
    void MouseEntered();

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    QList<QIcon> m_glyphs;
    int m_glyphIndex = 0;
};

} // namespace quillmark
