// Saving the data file and copying to the clipboard through the window.
#include "EditingWindow.h"
#include "ui/Adapt.h"

#include "base/Errors.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>

#include <unistd.h>

using namespace quillmark;
using namespace quillmark::test;

namespace {

class ExportWindow : public EditingWindowTest {
protected:
    void AddPoints(std::initializer_list<std::pair<double, double>> points)
    {
        for (const auto& [x, y] : points)
            form->Document.AddPoint(DataPoint{x, y, {}, ToCoreColourOrNone(QColor())});
        form->SetDataGroupEnabled(true);
    }

    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(ExportWindow, SaveDialogIsAskedForADataFileInTheCurrentFolder)
{
    form->CurrentPath = folder.path() + QLatin1Char('/');
    struct Case {
        QStringList Title;
        QString Proposed;
    };
    const Case cases[] = {
        {{QString()}, QString()},
        {{QStringLiteral("graph"), QStringLiteral("second")}, QStringLiteral("graph")},
        {{}, QStringLiteral("Data")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Proposed.toStdString());
        boxes->SaveRequests.clear();
        form->Chart->SetTitleLines(c.Title);
        form->btnSaveDataClick();
        ASSERT_EQ(boxes->SaveRequests.size(), 1u);
        const FileDialogRequest& request = boxes->SaveRequests.front();
        EXPECT_EQ(request.FileName, c.Proposed);
        EXPECT_EQ(request.Folder, form->CurrentPath);
        EXPECT_EQ(request.Filter, QStringLiteral("Файл данных (*.dat)"));
        EXPECT_EQ(request.DefaultSuffix, QStringLiteral("dat"));
        EXPECT_TRUE(request.OverwritePrompt);
    }
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.dat")}).isEmpty()) << "cancel wrote a file";
}

TEST_F(ExportWindow, DataFileHoldsExponentTextsWithTheLocaleSeparator)
{
    struct Case {
        long double Digits;
        QByteArray Expected;
    };
    AddPoints({{12.5, -0.00123}, {0, 12.4}});
    // Ordered by X: the zero point comes first.
    ASSERT_EQ(Data().XValue(0), 0);
    const Case ordered[] = {
        {6, "0,00000E+0 1,24000E+1\r\n1,25000E+1 -1,23000E-3\r\n"},
        {2, "0,0E+0 1,2E+1\r\n1,3E+1 -1,2E-3\r\n"},
    };
    for (const Case& c : ordered) {
        SCOPED_TRACE(static_cast<double>(c.Digits));
        form->Digits = c.Digits;
        boxes->SaveAnswer = folder.filePath(QStringLiteral("out.dat"));
        form->btnSaveDataClick();
        EXPECT_EQ(ReadFile(boxes->SaveAnswer), c.Expected);
    }
}

TEST_F(ExportWindow, F2SavesWhileDataArePresent)
{
    AddPoints({{1, 2}});
    boxes->SaveAnswer = folder.filePath(QStringLiteral("key.dat"));
    int key = Qt::Key_F2;
    form->FormKeyDown(key, Qt::NoModifier);
    EXPECT_EQ(ReadFile(boxes->SaveAnswer), QByteArray("1,00000E+0 2,00000E+0\r\n"));
}

TEST_F(ExportWindow, SaveIntoAFolderThatRefusesWritingFailsAndKeepsTheOldFile)
{
    const QString locked = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    const QString target = locked + QStringLiteral("/old.dat");
    WriteFile(target, "old contents\r\n");
    // The superuser ignores permissions but not the immutable attribute.
    const bool superuser = geteuid() == 0;
    if (superuser) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), locked}) != 0)
            GTEST_SKIP() << "the folder cannot be made unwritable here";
    } else {
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    }
    struct Unlock {
        QString Folder;
        bool Superuser;
        ~Unlock()
        {
            if (Superuser)
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), Folder});
            else
                QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } unlock{locked, superuser};

    AddPoints({{1, 2}});
    boxes->SaveAnswer = target;
    try {
        form->btnSaveDataClick();
        ADD_FAILURE() << "the save reported success";
    } catch (const FileError& error) {
        EXPECT_STRNE(error.what(), "");
    }
    EXPECT_EQ(ReadFile(target), QByteArray("old contents\r\n"));
    EXPECT_EQ(QDir(locked).entryList(QDir::Files), QStringList{QStringLiteral("old.dat")});
}

TEST_F(ExportWindow, CopyPutsFullPrecisionTabSeparatedLinesOnTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    form->btnCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());

    AddPoints({{1.5, 2}, {3, -0.25}, {1.0 / 3.0, 0}});
    form->Digits = 2;
    form->miCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("0,333333333333333\t0\r\n1,5\t2\r\n3\t-0,25\r\n"));
}

} // namespace
