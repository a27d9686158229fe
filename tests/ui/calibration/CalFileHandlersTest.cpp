#include "ui/app/MainUnit.h"
#include "base/Errors.h"
#include "ui/plot/PlotChart.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/widgets/SpinEdit.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

using namespace quillmark;

namespace {

class CalFileHandlersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        dialogs = std::make_shared<testsupport::RecordingDialogs>();
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(folder, dialogs));
        SetSeparator(QStringLiteral("."));
        AnswerFileDialogs(folder.filePath(QStringLiteral("axes.cal")));
    }

    // The name both file dialogs answer with; empty: they are cancelled.
    void AnswerFileDialogs(const QString& name)
    {
        dialogs->OpenAnswer = name;
        dialogs->SaveAnswer = name;
    }

    std::array<SpinEdit*, 6> Edits() const
    {
        return {form->spXMin, form->spXMax, form->spXIncrement, form->spYMin, form->spYMax, form->spYIncrement};
    }

    void SetSeparator(const QString& separator)
    {
        for (SpinEdit* edit : Edits())
            edit->SetDecimalSeparator(separator);
    }

    std::array<double, 6> Values() const
    {
        std::array<double, 6> values{};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = Edits()[i]->Value();
        return values;
    }

    void WriteFile(const QByteArray& bytes)
    {
        QFile file(dialogs->SaveAnswer);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadFile() const
    {
        QFile file(dialogs->SaveAnswer);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    std::shared_ptr<testsupport::RecordingDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(CalFileHandlersTest, SavesTheSevenLinesExactly)
{
    form->spXIncrement->SetValue(1);
    form->spYIncrement->SetValue(1);
    form->CurrentPath = folder.path() + QLatin1Char('/');
    form->btnSave->click();

    EXPECT_EQ(ReadFile(), QByteArray("Curvinel v0.4\r\n"
                                     "Xmin= 0.00000000000000E+0000\r\n"
                                     "Xmax= 1.00000000000000E+0001\r\n"
                                     "Xincr= 1.00000000000000E+0000\r\n"
                                     "Ymin=-3.00000000000000E+0000\r\n"
                                     "Ymax= 3.00000000000000E+0000\r\n"
                                     "Yincr= 1.00000000000000E+0000\r\n"));
    EXPECT_EQ(dialogs->LastSaveRequest().Folder, form->CurrentPath);
    EXPECT_EQ(dialogs->LastSaveRequest().Filter, QStringLiteral("Файл калибровки осей (*.cal)"));
    EXPECT_EQ(dialogs->LastSaveRequest().FileName, QStringLiteral("noname"));
    EXPECT_TRUE(dialogs->LastSaveRequest().OverwritePrompt);
}

TEST_F(CalFileHandlersTest, SuggestsThePlotTitleQuotedWhenItHoldsABlank)
{
    form->Chart->SetTitleLines({QStringLiteral("my graph")});
    AnswerFileDialogs({}); // cancelled: nothing is written
    form->btnSaveClick();
    EXPECT_EQ(dialogs->LastSaveRequest().FileName, QStringLiteral("\"my graph\""));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("axes.cal"))));
}

TEST_F(CalFileHandlersTest, FileWrittenUnderEitherSeparatorLoadsUnderTheOther)
{
    for (const auto& [written, read] : {std::pair{",", "."}, std::pair{".", ","}}) {
        SCOPED_TRACE(std::string("written with ") + written);
        SetSeparator(QString::fromLatin1(written));
        form->spXMin->SetValue(-0.5);
        form->spXMax->SetValue(12.25);
        form->spXIncrement->SetValue(2.5);
        form->spYMin->SetValue(0.125);
        form->spYMax->SetValue(7.75);
        form->spYIncrement->SetValue(0.5);
        const std::array<double, 6> saved = Values();
        form->btnSaveClick();
        EXPECT_FALSE(ReadFile().contains(',')) << ReadFile().toStdString();

        SetSeparator(QString::fromLatin1(read));
        form->spXMin->SetValue(0);
        form->spXMax->SetValue(10);
        form->spYMin->SetValue(-3);
        form->spYMax->SetValue(3);
        form->btnLoad->click();
        EXPECT_EQ(Values(), saved);
        EXPECT_EQ(form->Chart->BottomAxis().Minimum(), -0.5);
        EXPECT_EQ(form->Chart->BottomAxis().Maximum(), 12.25);
        EXPECT_EQ(form->Chart->LeftAxis().Increment(), 0.5);
    }
}

TEST_F(CalFileHandlersTest, HeaderInAnotherCaseIsIgnoredSilently)
{
    WriteFile("curvinel V0.4\r\nXmin=1\r\nXmax=2\r\nXincr=1\r\nYmin=1\r\nYmax=2\r\nYincr=1\r\n");
    const std::array<double, 6> before = Values();
    EXPECT_NO_THROW(form->btnLoadClick());
    EXPECT_EQ(Values(), before);
}

TEST_F(CalFileHandlersTest, KeysAreFoundInAnyCaseAndPlainNotation)
{
    WriteFile("Curvinel v0.4\nYINCR= 0.5\nXMIN= 2.5\nxmax=4e1\nXincr=5\nYmin=-1\nYmax= 1.5E+0000 \n");
    try {
        form->btnLoadClick();
    } catch (const QuillmarkError& error) {
        FAIL() << error.what();
    }
    EXPECT_EQ(Values(), (std::array<double, 6>{2.5, 40, 5, -1, 1.5, 0.5}));
}

TEST_F(CalFileHandlersTest, MissingKeyOrBadValueChangesNothing)
{
    const std::array<double, 6> before = Values();
    const struct {
        const char* Text;
        const char* Key;
    } cases[] = {
        {"Curvinel v0.4\r\nXmin=1\r\nXmax=2\r\nXincr=1\r\nYmin=1\r\nYmax=2\r\n", "Yincr"},
        {"Curvinel v0.4\r\nXmin=1\r\nXmax=2\r\nXincr=1\r\nYmin=abc\r\nYmax=2\r\nYincr=1\r\n", "Ymin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        WriteFile(c.Text);
        try {
            form->btnLoadClick();
            ADD_FAILURE() << "loaded";
        } catch (const QuillmarkError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Key), std::string::npos) << error.what();
        }
        EXPECT_EQ(Values(), before);
        EXPECT_EQ(form->Chart->BottomAxis().Minimum(), 0);
    }
}

} // namespace
