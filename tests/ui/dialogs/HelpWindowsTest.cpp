#include "../calibration/WindowFixture.h"

#include "ui/dialogs/About.h"
#include "ui/dialogs/HelpUnit.h"
#include "ui/dialogs/Hint.h"
#include "ui/plot/PlotChart.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using namespace quillmark;
using namespace quillmark::testing;

namespace {

class HelpWindowsTest : public WindowFixture {
protected:
    void WriteHelpFile(const QByteArray& text)
    {
        QFile file(folder.filePath(QStringLiteral("Quillmark.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Shows a window as the modal run would, without a modal loop.
    static void Show(QWidget* window)
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
};

TEST_F(HelpWindowsTest, F1AndTheMenuShowTheHelpWindowModally)
{
    QTest::keyClick(form->spXMin, Qt::Key_F1);
    form->miDigHelp->trigger();
    EXPECT_EQ(dialogs->TakeCalls(), (std::vector<std::string>{"dialog", "dialog"}));
    EXPECT_EQ(dialogs->LastDialog, form->HelpForm);
    form->miAbout->trigger();
    EXPECT_EQ(dialogs->LastDialog, form->AboutBox);

    EXPECT_EQ(form->HelpForm->windowTitle(), QStringLiteral("Справка"));
    EXPECT_EQ(form->HelpForm->size(), QSize(600, 480));
    EXPECT_TRUE(form->HelpForm->Memo->isReadOnly());
}

TEST_F(HelpWindowsTest, HelpTextIsReadAgainAtEveryShowing)
{
    Show(form->HelpForm);
    EXPECT_EQ(form->HelpForm->Memo->toPlainText(), QStringLiteral("Файл справки Quillmark.txt не найден"));
    QTest::keyClick(form->HelpForm->Memo, Qt::Key_Escape);
    EXPECT_FALSE(form->HelpForm->isVisible());

    WriteHelpFile("Первая строка\nвторая\n");
    Show(form->HelpForm);
    EXPECT_EQ(form->HelpForm->Memo->toPlainText(), QStringLiteral("Первая строка\nвторая\n"));
    form->HelpForm->hide();

    WriteHelpFile("Исправлено");
    Show(form->HelpForm);
    EXPECT_EQ(form->HelpForm->Memo->toPlainText(), QStringLiteral("Исправлено"));
    form->HelpForm->hide();
}

TEST_F(HelpWindowsTest, AboutBoxClosesOnAClickOnItsPartsAndOnEsc)
{
    TAboutBox* box = form->AboutBox;
    EXPECT_EQ(box->windowTitle(), QStringLiteral("О программе Quillmark"));
    EXPECT_EQ(box->ProductName->text(), QStringLiteral("Quillmark"));
    EXPECT_TRUE(box->ProductName->font().bold());
    EXPECT_EQ(box->Version->text(), QStringLiteral("Версия 0.61"));
    ASSERT_NE(box->Image->pixmap().toImage().pixel(16, 16), 0u);

    for (QWidget* target : {static_cast<QWidget*>(box), static_cast<QWidget*>(box->Image),
                            static_cast<QWidget*>(box->ProductName), static_cast<QWidget*>(box->Version)}) {
        SCOPED_TRACE(target->metaObject()->className());
        Show(box);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(box->isVisible());
    }

    // A press beside the link text stays with the box.
    Show(box);
    QTest::mouseClick(box->Link, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_TRUE(box->isVisible());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(HelpWindowsTest, HintSizesToItsPromptAndKeepsBesideThePointer)
{
    THintForm* hint = form->HintForm;
    EXPECT_TRUE(hint->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(hint->windowFlags() & Qt::FramelessWindowHint);

    hint->SetPrompt(QStringLiteral("Задайте точку Xmin и Ymin"), true);
    EXPECT_EQ(hint->width(), hint->lbHint->width() + 6);
    EXPECT_EQ(hint->height(), hint->lbHint->height() + 8);
    EXPECT_EQ(hint->lbHint->pos(), QPoint(2, 4));
    const int height = hint->height();

    hint->ShowAt(QPoint(300, 200));
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->pos(), QPoint(310, 190));

    hint->SetPrompt(QStringLiteral("Задайте точку Xmax"), false);
    EXPECT_EQ(hint->width(), hint->lbHint->width() + 6);
    EXPECT_EQ(hint->height(), height);

    // It follows the pointer over the plot, wherever the plot lies.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    emit form->Chart->MouseMove(Qt::NoModifier, 50, 60);
    EXPECT_EQ(hint->pos(), form->Chart->mapToGlobal(QPoint(50, 60)) + QPoint(10, -10));
    hint->hide();
    form->close();
}

} // namespace
