// The options dialog as the main window uses it: showing it, applying the
// grid colour and the series style, and the X ordering of the data series.
#include "app/MainUnit.h"

#include "base/NumberText.h"
#include "dialogs/OptUnit.h"
#include "plot/PlotChart.h"
#include "widgets/ColorBox.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLocale>

#include <cmath>
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
    if (series->Count() == 0)
        return;

    series->SetActive(false);
    std::vector<std::pair<double, double>> points;
    points.reserve(static_cast<std::size_t>(series->Count()));
    for (int i = 0; i < series->Count(); ++i)
        points.emplace_back(series->XValue(i), series->YValue(i));
    series->Clear();

    // Re-adding obeys the series' X ordering, so with ordering on the points
    // come back sorted.
    const bool manual = ManualMethod();
    const QColor colour = manual ? OptionsForm->cboxPoint->Color() : OptionsForm->cboxLine->Color();
    const std::string separator = QLocale::system().decimalPoint().toStdString();
    for (const auto& [x, y] : points)
        series->Add(x, y, QString::fromStdString(GeneralText(x, 15, separator)), colour);

    // SelectedIndex names a point of the series as re-added; an index past
    // its end selects nothing.
    if (manual && SelectedIndex >= 0 && SelectedIndex < series->Count()) {
        const double selectedX = series->XValue(SelectedIndex);
        series->ColorRange(selectedX, selectedX, OptionsForm->cboxSelectPoint->Color());
    }
    series->SetActive(true);
}

bool TMainForm::ScalingAboutZero() const
{
    return OptionsForm->chboxScaling->isChecked();
}

void TMainForm::SetSeriesOrdering(bool on)
{
    Chart->DataSeries()->SetXOrderAscending(on);
}

} // namespace quillmark
