// Opening a picture: decode it through the registry, size the plot's
// background to it, build both buffers, enable the picture commands and show
// it through the adjustment pipeline. Calibration, data, region, the hidden
// state and the adjustment values are left as they are.
#include "ui/app/MainUnit.h"

#include "formats/PictureLoader.h"
#include "ui/formats/ToolkitPictures.h"
#include "imaging/OpenedPicture.h"
#include "ui/plot/PlotChart.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace quillmark {

std::unique_ptr<PictureRegistry> TMainForm::NewPictureRegistry()
{
    return std::make_unique<PictureRegistry>(BitmapPictureClass());
}

void TMainForm::miOpenFileClick()
{
    if (Document.Busy())
        return;
    if (!KeepUnsavedData())
        return;
    const QString path = Dialogs().AskPictureFileName(CurrentPath, m_openPictureFilter, m_pictures->Formats());
    if (path.isEmpty())
        return;
    OpenPictureFile(path);
}

void TMainForm::OpenPictureFile(const QString& path)
{
    if (Document.Busy())
        return;
    std::unique_ptr<Graphic> picture = LoadPicture(m_pictures->Formats(), QFile::encodeName(path).toStdString());
    const int width = picture->Width();
    const int height = picture->Height();
    // The background takes the new size before the pixels are handed over,
    // so an icon or a metafile that refuses leaves it resized, and nothing
    // else changed.
    KeepPictureView();
    Chart->SetBackImageSize(width, height);
    std::unique_ptr<TFastBMP> source = OpenedPicture(*picture);
    picture.reset();

    const QFileInfo file(path);
    CurrentPath = QDir::toNativeSeparators(file.absolutePath());
    if (!CurrentPath.endsWith(QDir::separator()))
        CurrentPath += QDir::separator();

    Document.OpenPicture(std::move(source));
    // A new history: its start is saved unless the points shown are not.
    if (m_dataUnsaved)
        Document.MarkUnsaved();
    else
        Document.MarkSaved();
    EnablePictureGroup();
    Chart->SetTitleLines({QString::fromStdString(PictureTitle(file.fileName().toStdString()))});
    ApplyAdjustments();

    SetStatusText(0, QLatin1Char(' ') + file.fileName());
    SetStatusText(1, QStringLiteral("%1x%2").arg(width).arg(height));
    SetStatusText(2, QLatin1Char(' ') + MetodBox->currentText());
    RestorePictureView(path);
}

QString TMainForm::DroppedPictureFile(const QMimeData* mime) const
{
    if (mime == nullptr || !mime->hasUrls())
        return {};
    const QList<QUrl> urls = mime->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    const std::string extension = PictureExtension(QFile::encodeName(path).toStdString());
    if (m_pictures->Formats().FindByExtension(extension) == nullptr)
        return {};
    return path;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedPictureFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedPictureFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

// Opens exactly as the open command does after its dialog, so the checks and
// the errors are the same; errors reach the application's error box.
void TMainForm::dropEvent(QDropEvent* event)
{
    const QString path = DroppedPictureFile(event->mimeData());
    if (path.isEmpty())
        return;
    if (!KeepUnsavedData())
        return;
    event->acceptProposedAction();
    OpenPictureFile(path);
}

} // namespace quillmark
