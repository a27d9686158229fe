#include "WindowFixture.h"

#include "ui/plot/PlotChart.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

using namespace quillmark;
using namespace quillmark::testing;

namespace {

class FitHandlersTest : public WindowFixture {
protected:
    // Sizes the plot so that its rectangle is exactly width x height pixels.
    void SizePlotRect(int width, int height)
    {
        QSize size(width, height);
        for (int i = 0; i < 8 && form->Chart->PlotRect().size() != QSize(width, height); ++i) {
            form->Chart->resize(size);
            const QSize rect = form->Chart->PlotRect().size();
            size += QSize(width - rect.width(), height - rect.height());
        }
        ASSERT_EQ(form->Chart->PlotRect().size(), QSize(width, height));
    }

    void ExpectLimits(double xMin, double xMax, double yMin, double yMax)
    {
        const PlotAxis& x = form->Chart->BottomAxis();
        const PlotAxis& y = form->Chart->LeftAxis();
        EXPECT_NEAR(x.Minimum(), xMin, 1e-12);
        EXPECT_NEAR(x.Maximum(), xMax, 1e-12);
        EXPECT_NEAR(y.Minimum(), yMin, 1e-12);
        EXPECT_NEAR(y.Maximum(), yMax, 1e-12);
        EXPECT_NEAR(form->spXMin->Value(), xMin, 1e-12);
        EXPECT_NEAR(form->spXMax->Value(), xMax, 1e-12);
        EXPECT_NEAR(form->spYMin->Value(), yMin, 1e-12);
        EXPECT_NEAR(form->spYMax->Value(), yMax, 1e-12);
    }
};

TEST_F(FitHandlersTest, SwitchingFitAndActualSizeRescalesAboutTheMiddles)
{
    SizePlotRect(400, 400);
    form->Document.OpenPicture(std::make_unique<TFastBMP>(200, 100));
    form->EnablePictureGroup();
    form->spYMax->SetValue(10);
    form->spYMin->SetValue(0);
    // The picture shown at actual size.
    form->btnStretch->setChecked(false);
    form->Chart->SetBackMode(BackImageMode::Centre);

    form->btnStretch->click(); // down: fit
    ExpectLimits(2.5, 7.5, 3.75, 6.25);
    EXPECT_EQ(form->Chart->BackMode(), BackImageMode::Stretch);
    EXPECT_EQ(form->btnStretch->toolTip(), QStringLiteral("Масштаб 1:1"));

    form->btnStretch->click(); // up: actual size
    ExpectLimits(0, 10, 0, 10);
    EXPECT_EQ(form->Chart->BackMode(), BackImageMode::Centre);
    EXPECT_EQ(form->btnStretch->toolTip(), QStringLiteral("Масштабировать"));

    // The menu item runs the same toggle.
    form->miStretch->trigger();
    EXPECT_TRUE(form->btnStretch->isChecked());
    ExpectLimits(2.5, 7.5, 3.75, 6.25);
    EXPECT_TRUE(dialogs->TakeCalls().empty());
}

TEST_F(FitHandlersTest, PictureLargerThanThePlotIsCutAtActualSizeAndTheRangeNarrows)
{
    SizePlotRect(400, 400);
    form->Document.OpenPicture(std::make_unique<TFastBMP>(800, 1600));
    form->EnablePictureGroup();
    form->btnStretch->click(); // up: actual size
    // a = 10 (0.5 - 1) / 2 = -2.5, b = 6 (0.25 - 1) / 2 = -2.25
    ExpectLimits(2.5, 7.5, -0.75, 0.75);
    form->btnStretch->click();
    ExpectLimits(0, 10, -3, 3);
}

TEST_F(FitHandlersTest, StartUpRunWithoutPictureChangesOnlyModeAndHint)
{
    for (const bool stretch : {true, false}) {
        SCOPED_TRACE(stretch);
        SetUp();
        form->IniFile->WriteBool("Options", "Stretch", stretch); // read by the first showing
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        EXPECT_EQ(form->Chart->BackMode(), stretch ? BackImageMode::Stretch : BackImageMode::Centre);
        EXPECT_EQ(form->ButtonHint(form->btnStretch),
                  stretch ? QStringLiteral("Масштаб 1:1") : QStringLiteral("Масштабировать"));
        ExpectLimits(0, 10, -3, 3);
        // No limit handler ran: the spin steps and the start mask are untouched.
        EXPECT_EQ(form->spXMin->Increment(), 0.1);
        EXPECT_EQ(form->spYMax->Increment(), 0.1);
        EXPECT_EQ(form->Chart->LeftAxis().LabelFormat(), "#,##0.### ");
        form->close();
    }
}

} // namespace
