// The options dialog as the main window uses it: showing it, applying the
// grid colour and the series style, and the X ordering of the data series.
#include "ui/app/MainUnit.h"
#include "ui/Adapt.h"

#include "base/NumberText.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLocale>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace quillmark {

void TMainForm::ConnectOptionsHandlers()
{
    // Reads its start values now: IniFile is open and the series exists, so a
    // stored Sort=1 already turns the ordering off.
    OptionsForm = new TOptionsForm(*IniFile, [this](bool on) { SetSeriesOrdering(on); }, this);
}

void TMainForm::miOptionsClick()
{
    if (Document.Busy())
        return;
    // There is no cancel: the close box keeps every change as Ok does.
    Dialogs().ShowModalDialog(*OptionsForm);
    const QColor grid = OptionsForm->cboxGrid->Color();
    Chart->LeftAxis().SetGridColor(grid);
    Chart->BottomAxis().SetGridColor(grid);
    ApplySeriesStyle();
}

void TMainForm::ApplySeriesStyle()
{
    PlotSeries* series = Chart->DataSeries();
    series->SetPenWidth(static_cast<int>(std::trunc(OptionsForm->spLineWeight->Value())));
    series->SetSeriesColor(OptionsForm->cboxLine->Color());
    if (Document.Points().Empty())
        return;

    // A graph the user hid stays hidden. The points come back in the
    // ordering, and the table shows the new order, so a Y typed into a row
    // changes that row's point.
    const bool manual = ManualMethod();
    const QColor colour = manual ? OptionsForm->cboxPoint->Color() : OptionsForm->cboxLine->Color();
    std::optional<Color> selectedColour;
    if (manual)
        selectedColour = ToCoreColour(OptionsForm->cboxSelectPoint->Color());
    Document.RestylePoints(ToCoreColour(colour), selectedColour, LocaleSeparator());
    RefreshTable();
}

bool TMainForm::ScalingAboutZero() const
{
    return OptionsForm->chboxScaling->isChecked();
}

void TMainForm::SetSeriesOrdering(bool on)
{
    Document.SetOrdered(on);
    Chart->DataSeries()->SetXOrderAscending(on);
}

} // namespace quillmark
