#pragma once
// The open-picture dialog: Qt's own (non-native) file dialog with a preview
// pane beside the file list. The selected file is decoded through the same
// registry the window opens pictures with; the label shows " (WxH)" for a
// file that loads and "Picture:" with the preview button disabled for one
// that does not. The registry outlives the dialog.
#include <QFileDialog>
#include <QImage>
#include <QStringList>

class QLabel;
class QPushButton;

namespace quillmark {

class PictureFormatList;

// Qt's name filters for a "description|patterns|..." filter text. Qt reads
// the patterns from the last parentheses, blank-separated, so each entry is
// its description followed by its patterns in that form; with the filter
// details hidden the dialog shows the description exactly.
QStringList DialogNameFilters(const QString& filter);

class PicturePreviewDialog : public QFileDialog {
    Q_OBJECT
public:
    PicturePreviewDialog(const PictureFormatList& formats, const QString& folder, const QString& filter,
                         QWidget* parent = nullptr);

    // Decodes the file and shows it; any file that fails to load, and
    // anything that is not a file, leaves the pane empty.
    void ShowPreview(const QString& path);

    QString PreviewLabelText() const;
    bool PreviewAvailable() const;
    const QImage& PreviewImage() const { return m_image; }

private:
    void ShowFullSize();

    const PictureFormatList& m_formats;
    QImage m_image;
    QLabel* m_label = nullptr;
    QLabel* m_picture = nullptr;
    QPushButton* m_previewButton = nullptr;
};

} // namespace quillmark
