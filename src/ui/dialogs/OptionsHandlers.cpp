// The options dialog as the main window uses it: showing it, applying the
// grid colour and the series style, and the X ordering of the data series.
#include "ui/app/MainUnit.h"

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

    // A graph the user hid stays hidden.
    const bool wasActive = series->Active();
    series->SetActive(false);
    std::optional<std::pair<double, double>> selected;
    if (SelectedIndex >= 0 && SelectedIndex < series->Count())
        selected = std::pair{series->XValue(SelectedIndex), series->YValue(SelectedIndex)};
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

    // The selection follows its point to where the ordering put it, and the
    // table shows the new order, so a Y typed into a row changes that row's
    // point.
    if (selected) {
        SelectedIndex = -1;
        for (int i = 0; i < series->Count(); ++i) {
            if (series->XValue(i) == selected->first && series->YValue(i) == selected->second) {
                SelectedIndex = i;
                break;
            }
        }
    }
    if (manual && SelectedIndex >= 0 && SelectedIndex < series->Count()) {
        const double selectedX = series->XValue(SelectedIndex);
        series->ColorRange(selectedX, selectedX, OptionsForm->cboxSelectPoint->Color());
    }
    series->SetActive(wasActive);
    RefreshTable();
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
