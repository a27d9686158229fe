// The data leaving the program: the data file through the save dialog, and
// the clipboard. Both texts are the document's.
#include "ui/app/MainUnit.h"

#include "base/Errors.h"
#include "base/FileWrite.h"
#include "digitize/ExportText.h"
#include "ui/formats/ToolkitPictures.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include <vector>

namespace quillmark {

void TMainForm::btnSaveDataClick()
{
    if (Document.Busy())
        return;
    FileDialogRequest request;
    request.Folder = CurrentPath;
    request.Filter = OpenDialogNameFilters(tr("Файл данных (*.dat)|*.dat").toStdString()).join(QStringLiteral(";;"));
    request.DefaultSuffix = QStringLiteral("dat");
    request.OverwritePrompt = true;
    const QStringList title = Chart->TitleLines();
    request.FileName = title.isEmpty() ? QStringLiteral("Data") : title.constFirst();
    const QString path = Dialogs().AskSaveFileName(request);
    if (path.isEmpty())
        return;

    const std::string text = Document.DataFileText(ExportDigitsOption(), DecimalSeparator().toStdString());
    // A full disk or a refused folder never costs the file that was there.
    WriteFileReplacing(QFile::encodeName(path).toStdString(), text, "Не удалось записать файл %s");
    m_dataUnsaved = false;
    Document.MarkSaved();
}

void TMainForm::miSaveDataClick()
{
    btnSaveDataClick();
}

void TMainForm::btnCopyClick()
{
    if (Document.Busy())
        return;
    const std::string text = Document.ClipboardText(DecimalSeparator().toStdString());
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    m_dataUnsaved = false;
    Document.MarkSaved();
}

void TMainForm::MarkDataChanged(bool byHand)
{
    m_dataUnsaved = true;
    m_pointsByHand = byHand;
}

bool TMainForm::KeepUnsavedData()
{
    if (!m_dataUnsaved || Document.Points().Empty())
        return true;
    switch (Dialogs().AskYesNoCancel(windowTitle(), tr("Сохранить данные?"))) {
    case ModalDialogs::Answer::Cancel: return false;
    case ModalDialogs::Answer::No:
        m_dataUnsaved = false;
        Document.MarkSaved();
        return true;
    case ModalDialogs::Answer::Yes: break;
    }
    btnSaveDataClick();
    return !m_dataUnsaved;
}

void TMainForm::miCopyClick()
{
    btnCopyClick();
}

} // namespace quillmark
