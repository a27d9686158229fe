#include "ui/app/MainUnit.h"

#include "base/Errors.h"
#include "ui/formats/ToolkitPictures.h"
#include "ui/widgets/ToolButtons.h"
#include "ui/imaging/FastBMPDraw.h"
#include "ui/plot/PlotChart.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/widgets/PicturePreviewDialog.h"
#include "ui/widgets/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

// Answers the open-picture dialog from a script and records what it was
// asked; every other box is recorded in Calls, and none is expected.
class PictureDialogs : public testsupport::RecordingDialogs {
public:
    PictureDialogs() { RecordFileDialogs = true; }

    QString AskPictureFileName(const QString& folder, const QString& filter, const PictureFormatList&) override
    {
        Folders.push_back(folder);
        Filters.push_back(filter);
        return Answer;
    }

    QString Answer;
    std::vector<QString> Folders;
    std::vector<QString> Filters;
};

// A picture whose every pixel differs from its neighbours, so a shift,
// rotation or adjustment shows.
QImage PatternImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * y + 90) % 256));
    return image;
}

bool SameBytes(const TFastBMP& a, const TFastBMP& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() && a.DataSize() == b.DataSize() &&
           std::memcmp(a.PixelData(), b.PixelData(), static_cast<std::size_t>(a.DataSize())) == 0;
}

class PictureUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        dialogs = std::make_shared<PictureDialogs>();
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(m_folder, dialogs));
    }

    void TearDown() override { EXPECT_EQ(dialogs->Calls, std::vector<std::string>{}); }

    QString Save(const QString& name, const QImage& image, const char* format)
    {
        const QString path = m_folder.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void OpenThroughDialog(const QString& path)
    {
        dialogs->Answer = path;
        form->miOpenFileClick();
    }

    // What the pipeline makes of the open picture with these values.
    std::unique_ptr<TFastBMP> Expected(const AdjustmentValues& values) const
    {
        auto work = TFastBMP::CreateCopy(*form->Document.Source());
        RunAdjustmentPipeline(*form->Document.Source(), *work, values);
        return work;
    }

    bool BackgroundShowsWork() const
    {
        const QImage work = FastBMPImage(*form->Document.Work()).convertToFormat(QImage::Format_RGB32);
        return form->Chart->BackImage().convertToFormat(QImage::Format_RGB32) == work;
    }

    QTemporaryDir m_folder;
    std::shared_ptr<PictureDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(PictureUiTest, OpeningAPictureShowsItAndEnablesThePictureCommands)
{
    struct Case {
        const char* name;
        const char* format;
        int width;
        int height;
    };
    for (const Case c : {Case{"scan.bmp", "BMP", 37, 21}, Case{"chart.png", "PNG", 20, 45}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        const QImage image = PatternImage(c.width, c.height);
        const QString path = Save(QString::fromLatin1(c.name), image, c.format);
        const QString startFolder = form->CurrentPath;
        OpenThroughDialog(path);

        ASSERT_EQ(dialogs->Folders.size(), 1U);
        EXPECT_EQ(dialogs->Folders[0], startFolder);
        EXPECT_EQ(dialogs->Filters[0], QString::fromStdString(form->Pictures().Formats().BuildFilter()));
        EXPECT_TRUE(dialogs->Filters[0].startsWith(QStringLiteral("All (*.png;*.gif;*.scr;")));

        ASSERT_TRUE(form->PictureOpen());
        EXPECT_EQ(form->CurrentPath, m_folder.path() + QLatin1Char('/'));
        EXPECT_EQ(form->Chart->TitleLines().value(0), QString::fromLatin1(c.name).section(QLatin1Char('.'), 0, 0));
        EXPECT_EQ(form->StatusText(0), QLatin1Char(' ') + QString::fromLatin1(c.name));
        EXPECT_EQ(form->StatusText(1), QStringLiteral("%1x%2").arg(c.width).arg(c.height));
        EXPECT_EQ(form->StatusText(2), QStringLiteral(" По макс. яркости  F5"));
        EXPECT_EQ(form->Document.TraceBuffer().size(), static_cast<std::size_t>(std::max(c.width, c.height)));

        EXPECT_EQ(FastBMPImage(*form->Document.Source()).convertToFormat(QImage::Format_RGB888), image);
        EXPECT_TRUE(SameBytes(*form->Document.Source(), *form->Document.Work()));
        EXPECT_NE(form->Document.Source(), form->Document.Work());
        EXPECT_EQ(form->Chart->BackImage().size(), QSize(c.width, c.height));
        EXPECT_TRUE(BackgroundShowsWork());

        EXPECT_TRUE(form->btnAxisSet->isEnabled()); // its hint follows the pointer
        for (QToolButton* button : {form->btnStretch, form->btnDigital, form->btnClear}) {
            EXPECT_TRUE(button->isEnabled());
            EXPECT_FALSE(button->toolTip().isEmpty());
        }
        EXPECT_TRUE(form->miHideImage->isEnabled());
        EXPECT_TRUE(form->PageControl->isTabEnabled(form->PageControl->indexOf(form->tabImage)));
        EXPECT_TRUE(form->PageControl->isTabEnabled(form->PageControl->indexOf(form->tabDigit)));
        EXPECT_TRUE(form->chRegion->isEnabled());
        EXPECT_FALSE(form->btnSaveData->isEnabled());
    }
}

TEST_F(PictureUiTest, TitleIsTheNameBeforeItsFirstDot)
{
    form->OpenPictureFile(Save(QStringLiteral("a.b.png"), PatternImage(4, 3), "PNG"));
    EXPECT_EQ(form->Chart->TitleLines().value(0), QStringLiteral("a"));
    EXPECT_EQ(form->StatusText(0), QStringLiteral(" a.b.png"));
}

TEST_F(PictureUiTest, CancellingTheDialogChangesNothing)
{
    form->CurrentPath = QStringLiteral("/nowhere/");
    dialogs->Answer.clear();
    QTest::mouseClick(form->btnOpenImage, Qt::LeftButton);
    ASSERT_EQ(dialogs->Folders.size(), 1U);
    EXPECT_EQ(dialogs->Folders[0], QStringLiteral("/nowhere/"));
    EXPECT_FALSE(form->PictureOpen());
    EXPECT_EQ(form->CurrentPath, QStringLiteral("/nowhere/"));
    EXPECT_FALSE(form->btnStretch->isEnabled());
    EXPECT_TRUE(form->StatusText(0).isEmpty());
}

TEST_F(PictureUiTest, AFailedOpenKeepsThePreviousPicture)
{
    form->OpenPictureFile(Save(QStringLiteral("first.png"), PatternImage(30, 20), "PNG"));
    const TFastBMP* source = form->Document.Source();
    const QString path = form->CurrentPath;
    QByteArray icon(22, '\0');
    icon[2] = 1; // type: icon
    icon[4] = 1; // one image
    icon[6] = 16;
    icon[7] = 24;
    struct Case {
        QString file;
        std::string message;
        QSize background;
    };
    QTemporaryDir other;
    const Case cases[] = {
        {Write(QStringLiteral("notes.bak"), "x"), "Unknown picture file extension (.bak)", QSize(30, 20)},
        {Write(QStringLiteral("noextension"), "x"), "Unknown picture file extension (.)", QSize(30, 20)},
        {other.filePath(QStringLiteral("missing.png")), "Cannot open file " + other.filePath(QStringLiteral("missing.png")).toStdString(), QSize(30, 20)},
        {Write(QStringLiteral("broken.png"), "not a png"), "", QSize(30, 20)},
        // The background has taken the icon's size by the time it refuses.
        {other.filePath(QStringLiteral("app.ico")), "Cannot assign a IconPicture to a Bitmap", QSize(16, 24)},
    };
    {
        QFile file(other.filePath(QStringLiteral("app.ico")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(icon);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        try {
            form->OpenPictureFile(c.file);
            ADD_FAILURE() << "no error";
        } catch (const QuillmarkError& error) {
            if (!c.message.empty()) {
                EXPECT_EQ(std::string(error.what()), c.message);
            }
        }
        EXPECT_EQ(form->Document.Source(), source);
        EXPECT_EQ(form->CurrentPath, path);
        EXPECT_EQ(form->Chart->TitleLines().value(0), QStringLiteral("first"));
        EXPECT_EQ(form->StatusText(1), QStringLiteral("30x20"));
        EXPECT_EQ(form->Chart->BackImage().size(), c.background);
    }
}

TEST_F(PictureUiTest, ASecondPictureRebuildsTheBuffersAndKeepsTheData)
{
    form->OpenPictureFile(Save(QStringLiteral("one.png"), PatternImage(30, 20), "PNG"));
    form->SetDataGroupEnabled(true);
    form->Chart->DataSeries()->Add(1, 2, QString(), Qt::red);
    form->Document.TraceBuffer()[5] = 77;

    QTemporaryDir second;
    const QString path = second.filePath(QStringLiteral("two.bmp"));
    ASSERT_TRUE(PatternImage(50, 60).save(path, "BMP"));
    form->OpenPictureFile(path);

    EXPECT_EQ(form->Document.Source()->Width(), 50);
    EXPECT_EQ(form->Document.Work()->Height(), 60);
    EXPECT_EQ(form->Document.TraceBuffer().size(), 60U);
    EXPECT_EQ(form->Document.TraceBuffer()[5], 77);
    EXPECT_EQ(form->Document.TraceBuffer()[40], 0);
    EXPECT_EQ(form->Chart->DataSeries()->Count(), 1);
    EXPECT_TRUE(form->btnCopy->isEnabled());
    EXPECT_TRUE(form->btnClearSeies->isEnabled());
    EXPECT_FALSE(form->btnSaveData->isEnabled());
    EXPECT_EQ(form->CurrentPath, second.path() + QLatin1Char('/'));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("50x60"));
    EXPECT_TRUE(BackgroundShowsWork());
}

TEST_F(PictureUiTest, APictureOpenedWhileRotatedShowsRotated)
{
    form->spRotate->SetValue(90); // no picture yet: runs nothing
    form->OpenPictureFile(Save(QStringLiteral("r.png"), PatternImage(40, 20), "PNG"));
    AdjustmentValues rotated;
    rotated.Rotate = 90;
    EXPECT_FALSE(SameBytes(*form->Document.Work(), *form->Document.Source()));
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(rotated)));
    EXPECT_TRUE(BackgroundShowsWork());
}

TEST_F(PictureUiTest, OnlyACompletedSliderChangeRunsThePipeline)
{
    form->OpenPictureFile(Save(QStringLiteral("s.png"), PatternImage(16, 16), "PNG"));
    for (QSlider* slider : {form->slLightness, form->slContrast, form->slSaturation, form->slCuttingOff}) {
        SCOPED_TRACE(slider->toolTip().toStdString());
        EXPECT_FALSE(slider->hasTracking());
        const int start = slider->value();
        const int moved = start == 0 ? 100 : 120;

        slider->setValue(moved); // a write from code
        EXPECT_TRUE(SameBytes(*form->Document.Work(), *form->Document.Source()));

        // Dragging moves the thumb; releasing it completes the change.
        slider->setSliderDown(true);
        slider->setSliderPosition(moved + 30);
        EXPECT_TRUE(SameBytes(*form->Document.Work(), *form->Document.Source()));
        slider->setSliderDown(false);
        EXPECT_EQ(slider->value(), moved + 30);
        EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(form->CurrentAdjustments())));

        QTest::keyClick(slider, Qt::Key_Home);
        EXPECT_EQ(slider->value(), 0);
        EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(form->CurrentAdjustments())));

        slider->setValue(start);
        form->ApplyAdjustments();
        EXPECT_TRUE(SameBytes(*form->Document.Work(), *form->Document.Source()));
    }
}

TEST_F(PictureUiTest, EveryOtherControlRunsThePipelineOnChange)
{
    form->OpenPictureFile(Save(QStringLiteral("c.png"), PatternImage(16, 12), "PNG"));
    form->spGaussianBlur->SetValue(2);
    AdjustmentValues values;
    values.GaussianBlur = 2;
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(values)));
    QTest::mouseClick(form->chInvert, Qt::LeftButton);
    values.Invert = true;
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(values)));
    form->spRotate->SetValue(0.25);
    values.Rotate = 0.25;
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(values)));
    // A number typed beyond the blur limit counts as the limit.
    form->spGaussianBlur->SetText(QStringLiteral("500"));
    EXPECT_EQ(form->CurrentAdjustments().GaussianBlur, 100);
}

TEST_F(PictureUiTest, ResetKeepsRotationAndNegative)
{
    form->OpenPictureFile(Save(QStringLiteral("z.png"), PatternImage(16, 12), "PNG"));
    form->slLightness->setValue(10);
    form->slContrast->setValue(400);
    form->slSaturation->setValue(0);
    form->slCuttingOff->setValue(50);
    form->spGaussianBlur->SetValue(3);
    form->spRotate->SetValue(0.25);
    form->chInvert->setChecked(true);

    QTest::mouseClick(form->btnReset, Qt::LeftButton);
    EXPECT_EQ(form->btnReset->text(), QStringLiteral("Возврат"));
    EXPECT_EQ(form->slLightness->value(), 255);
    EXPECT_EQ(form->slContrast->value(), 255);
    EXPECT_EQ(form->slSaturation->value(), 255);
    EXPECT_EQ(form->slCuttingOff->value(), 0);
    EXPECT_EQ(form->spGaussianBlur->Value(), 0);
    EXPECT_EQ(form->spRotate->Value(), 0.25);
    EXPECT_TRUE(form->chInvert->isChecked());
    AdjustmentValues kept;
    kept.Rotate = 0.25;
    kept.Invert = true;
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(kept)));
}

TEST_F(PictureUiTest, HidingAndShowingThePicture)
{
    form->OpenPictureFile(Save(QStringLiteral("h.png"), PatternImage(10, 8), "PNG"));
    QImage blank(10, 8, QImage::Format_RGB32);
    blank.fill(form->Chart->BackColor());

    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    EXPECT_TRUE(form->btnClear->isChecked());
    EXPECT_TRUE(form->miHideImage->isChecked());
    EXPECT_EQ(form->btnClear->toolTip(), QStringLiteral("Показать картинку"));
    EXPECT_EQ(form->miHideImage->text(), QStringLiteral("Скрыть картинку"));
    EXPECT_EQ(form->Chart->BackImage().convertToFormat(QImage::Format_RGB32), blank);

    // An adjustment while hidden draws the picture; the toggle stays down.
    form->chInvert->click();
    EXPECT_TRUE(BackgroundShowsWork());
    EXPECT_TRUE(form->btnClear->isChecked());

    form->miHideImage->trigger(); // shows
    EXPECT_FALSE(form->btnClear->isChecked());
    EXPECT_FALSE(form->miHideImage->isChecked());
    EXPECT_EQ(form->btnClear->toolTip(), QStringLiteral("Скрыть картинку"));
    EXPECT_TRUE(BackgroundShowsWork());

    form->miHideImage->trigger(); // hides
    EXPECT_TRUE(form->btnClear->isChecked());
    EXPECT_EQ(form->Chart->BackImage().convertToFormat(QImage::Format_RGB32), blank);
    // Tracing still sees the adjusted picture.
    EXPECT_FALSE(SameBytes(*form->Document.Work(), *form->Document.Source()));

    // A picture opened while hidden is drawn; the button stays down.
    form->OpenPictureFile(Save(QStringLiteral("h2.png"), PatternImage(12, 8), "PNG"));
    EXPECT_TRUE(BackgroundShowsWork());
    EXPECT_TRUE(form->btnClear->isChecked());
}

TEST_F(PictureUiTest, PicturePageStartsAtNeutralValues)
{
    const struct {
        QSlider* slider;
        int maximum;
        int start;
    } sliders[] = {{form->slLightness, 510, 255}, {form->slContrast, 510, 255}, {form->slSaturation, 510, 255},
                   {form->slCuttingOff, 255, 0}};
    for (const auto& s : sliders) {
        EXPECT_EQ(s.slider->minimum(), 0);
        EXPECT_EQ(s.slider->maximum(), s.maximum);
        EXPECT_EQ(s.slider->value(), s.start);
    }
    EXPECT_EQ(form->slLightness->toolTip(), QStringLiteral("Яркость"));
    EXPECT_EQ(form->slContrast->toolTip(), QStringLiteral("Контраст"));
    EXPECT_EQ(form->slSaturation->toolTip(), QStringLiteral("Насыщенность"));
    EXPECT_TRUE(form->spGaussianBlur->IntegerKind());
    EXPECT_EQ(form->spGaussianBlur->MaxValue(), 100);
    EXPECT_EQ(form->spRotate->Increment(), 0.25);
    EXPECT_EQ(form->spRotate->MinValue(), form->spRotate->MaxValue());
    EXPECT_EQ(form->chInvert->text(), QStringLiteral("Негатив"));
    EXPECT_FALSE(form->PageControl->isTabEnabled(form->PageControl->indexOf(form->tabImage)));
    // Without a picture a change runs nothing and nothing breaks.
    form->spRotate->SetValue(1);
    EXPECT_FALSE(form->PictureOpen());
}

TEST(PicturePreviewDialog, FilterEntriesKeepDescriptionsAndPatterns)
{
    const QStringList filters =
        DialogNameFilters(QStringLiteral("All (*.png;*.gif)|*.png;*.gif|CompuServe images (*.gif)|*.gif"));
    EXPECT_EQ(filters, QStringList({QStringLiteral("All (*.png;*.gif) (*.png *.gif)"),
                                    QStringLiteral("CompuServe images (*.gif) (*.gif)")}));
}

TEST(PicturePreviewDialog, PreviewShowsTheSizeOrNothing)
{
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(PatternImage(12, 7).save(good, "PNG"));
    const QString bad = folder.filePath(QStringLiteral("q.png"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("garbage");
    }
    PictureRegistry registry(BitmapPictureClass());
    const QString filter = QString::fromStdString(registry.Formats().BuildFilter());
    PicturePreviewDialog dialog(registry.Formats(), folder.path(), filter);
    // The dialog shows the first description, "All (...)", exactly as the registry wrote it.
    EXPECT_EQ(dialog.selectedNameFilter(), filter.section(QLatin1Char('|'), 0, 0));
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());

    dialog.ShowPreview(good);
    EXPECT_EQ(dialog.PreviewLabelText(), QStringLiteral(" (12x7)"));
    EXPECT_TRUE(dialog.PreviewAvailable());
    EXPECT_EQ(dialog.PreviewImage().convertToFormat(QImage::Format_RGB888), PatternImage(12, 7));

    for (const QString& path : {bad, folder.path(), folder.filePath(QStringLiteral("none.png"))}) {
        dialog.ShowPreview(path);
        EXPECT_EQ(dialog.PreviewLabelText(), QStringLiteral("Picture:"));
        EXPECT_FALSE(dialog.PreviewAvailable());
    }
}

} // namespace

namespace {

// Sends a drag-enter and a drop carrying these URLs; true when both accepted.
bool DropUrls(TMainForm& form, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(form.width() / 2, form.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

} // namespace

TEST_F(PictureUiTest, ADroppedPictureOpensAsTheOpenCommandDoesAndOtherDropsAreRefused)
{
    const QString first = Save(QStringLiteral("dropped.png"), PatternImage(12, 7), "PNG");
    const QString second = Save(QStringLiteral("other.bmp"), PatternImage(5, 5), "BMP");
    EXPECT_FALSE(DropUrls(*form, {QUrl::fromLocalFile(Write(QStringLiteral("notes.txt"), "text"))}));
    EXPECT_FALSE(DropUrls(*form, {QUrl(QStringLiteral("https://example.org/chart.png"))}));
    EXPECT_FALSE(DropUrls(*form, {}));
    EXPECT_EQ(form->Document.Source(), nullptr);

    EXPECT_TRUE(DropUrls(*form, {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
    ASSERT_NE(form->Document.Source(), nullptr);
    EXPECT_EQ(form->Document.Source()->Width(), 12) << "the first file of several is opened";
    EXPECT_EQ(form->StatusText(0), QStringLiteral(" dropped.png"));
    EXPECT_TRUE(dialogs->Folders.empty()) << "a drop asks no dialog";
}

// Held on the track, a slider steps again and again; the pipeline runs once,
// when the button comes up.
TEST_F(PictureUiTest, HoldingTheMouseOnASlidersTrackRunsThePipelineOnRelease)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->OpenPictureFile(Save(QStringLiteral("s.png"), PatternImage(16, 16), "PNG"));
    form->PageControl->setCurrentWidget(form->tabImage);
    QSlider* slider = form->slLightness;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(slider));
    const int start = slider->value();
    const QPoint track = slider->orientation() == Qt::Horizontal ? QPoint(slider->width() - 3, slider->height() / 2)
                                                                   : QPoint(slider->width() / 2, 3);
    QTest::mousePress(slider, Qt::LeftButton, {}, track);
    ASSERT_NE(slider->value(), start);
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *form->Document.Source()));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, track);
    EXPECT_TRUE(SameBytes(*form->Document.Work(), *Expected(form->CurrentAdjustments())));
}
