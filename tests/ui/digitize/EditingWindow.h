#pragma once
// A main window for the manual-editing, magnifier, export and region tests:
// a temporary settings folder, a scripted stand-in for every modal box
// (confirmations recorded by their question, save requests kept), the
// editing options settable from the test, and a plot whose rectangle has a
// chosen size with both axes set.
#include "ui/app/MainUnit.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/support/RecordingDialogs.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillmark::test {

class EditingForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    int SensitivityOption() const override { return Sensitivity; }
    long double ExportDigitsOption() const override { return Digits; }

    int Sensitivity = 1;
    long double Digits = 6;
};

class EditingWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        using Boxes = testsupport::RecordingDialogs;
        boxes = std::make_shared<Boxes>(Boxes::ConfirmLine::Text, Boxes::DialogLine::None);
        form = std::make_unique<EditingForm>(testsupport::TemporaryFolderEnvironment(folder, boxes));
        SetPlotSize(400, 400);
        form->Document.SetAxisRange(Axis::X, 0, 10);
        form->Document.SetAxisRange(Axis::Y, 0, 10);
        form->Chart->SetSeparators(QStringLiteral(","), QStringLiteral(" "));
    }

    // Sizes the (hidden) plot so that its rectangle is width x height pixels.
    void SetPlotSize(int width, int height)
    {
        PlotChart* chart = form->Chart;
        chart->resize(width + 200, height + 200);
        // The margins around the rectangle may change with the size.
        for (int attempt = 0; attempt < 8 && chart->PlotRect().size() != QSize(width, height); ++attempt) {
            const QRect r = chart->PlotRect();
            chart->resize(chart->width() + width - r.width(), chart->height() + height - r.height());
        }
        ASSERT_EQ(chart->PlotRect().size(), QSize(width, height));
    }

    void SetMethod(DigitizeMethod method)
    {
        form->MetodBox->setCurrentIndex(static_cast<int>(method));
        form->MetodBoxChange();
    }

    // Surface pixel of an axis position.
    QPoint At(double x, double y) const { return {form->Chart->BottomPixel(x), form->Chart->LeftPixel(y)}; }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        form->Chart->ClickAt(button, Qt::NoModifier, p.x(), p.y());
    }

    PlotSeries& Data() { return *form->srData; }
    QString Cell(int row, int column) const
    {
        const auto* item = form->Grid->item(row, column);
        return item ? item->text() : QString();
    }

    QTemporaryDir folder;
    std::shared_ptr<testsupport::RecordingDialogs> boxes;
    std::unique_ptr<EditingForm> form;
};

} // namespace quillmark::test
