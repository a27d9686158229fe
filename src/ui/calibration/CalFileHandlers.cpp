// Saving and loading the calibration file from the axes page. The format is
// read and written in core (CalFile.h) and loaded by the document; here the
// six edits are read or shown, and the file goes in place through a
// temporary file and a rename.
#include "ui/app/MainUnit.h"
#include "ui/app/CoreTexts.h"
#include "ui/Adapt.h"

#include "base/Errors.h"
#include "base/FileWrite.h"
#include "calibration/CalFile.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/SpinEdit.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include <string>
#include <vector>

namespace quillmark {

namespace {

// The file filter as Qt's name filter: the part before "|".
QString CalNameFilter()
{
    const QString filter = CoreText(kCalFilter);
    return filter.left(filter.indexOf(QLatin1Char('|')));
}

std::string NativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

} // namespace

void TMainForm::CreateCalFileButtons(QGridLayout* layout, int row)
{
    btnSave = new QPushButton(tr("Сохранить"), tabAxes);
    btnSave->setToolTip(tr("Сохранить текущую установку осей"));
    btnLoad = new QPushButton(tr("Загрузить"), tabAxes);
    btnLoad->setToolTip(tr("Загрузить установку осей"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSave);
    buttons->addWidget(btnLoad);
    layout->addLayout(buttons, row, 0, 1, 3);
}

void TMainForm::ConnectCalFileHandlers()
{
    connect(btnSave, &QPushButton::clicked, this, &TMainForm::btnSaveClick);
    connect(btnLoad, &QPushButton::clicked, this, &TMainForm::btnLoadClick);
}

void TMainForm::btnSaveClick()
{
    std::vector<std::string> title;
    for (const QString& line : Chart->TitleLines())
        title.push_back(line.toStdString());
    FileDialogRequest request;
    request.Folder = CurrentPath;
    request.FileName = QString::fromStdString(CalSuggestedFileName(title));
    request.Filter = CalNameFilter();
    request.DefaultSuffix = QStringLiteral("cal");
    request.OverwritePrompt = true;
    const QString path = Dialogs().AskSaveFileName(request);
    if (path.isEmpty())
        return;

    // Each value as its edit holds it at this moment.
    CalibrationFile values{spXMin->Value(),  spXMax->Value(), spXIncrement->Value(),
                           spYMin->Value(),  spYMax->Value(), spYIncrement->Value()};
    values.Xlog = Document.AxisOf(Axis::X).Kind.Log;
    values.Xrev = Document.AxisOf(Axis::X).Kind.Reversed;
    values.Ylog = Document.AxisOf(Axis::Y).Kind.Log;
    values.Yrev = Document.AxisOf(Axis::Y).Kind.Reversed;
    const std::string text = CalFileText(values);
    WriteFileReplacing(QFile::encodeName(path).toStdString(), text, "Не удалось записать файл %s");
}

void TMainForm::btnLoadClick()
{
    if (Document.Busy())
        return;
    FileDialogRequest request;
    request.Folder = CurrentPath;
    request.Filter = CalNameFilter();
    const QString path = Dialogs().AskOpenFileName(request);
    if (path.isEmpty())
        return;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(FormatMessage("Не удалось открыть файл %s", {NativePath(path)}));
    // One byte past the limit is enough to refuse an oversized file.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxCalFileBytes) + 1);
    // The whole file is checked here: a missing key or a bad number throws
    // before any edit changes, and a file with another header is ignored.
    const std::optional<CalibrationFile> values =
        ReadCalFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    spXMin->DecimalSeparator().toStdString());
    if (!values)
        return;

    // The document checks both ranges and increments before it takes any;
    // the edits then show them, and their handlers find them in force.
    Document.LoadCalibration(*values);
    ShowAxisKinds();
    spXMin->SetValue(values->Xmin);
    spXMax->SetValue(values->Xmax);
    spXIncrement->SetValue(values->Xincr);
    spYMin->SetValue(values->Ymin);
    spYMax->SetValue(values->Ymax);
    spYIncrement->SetValue(values->Yincr);
}

} // namespace quillmark
