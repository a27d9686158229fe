// The window in English: every visible text of every widget, action and
// dialog is translated, none is left empty. The same walk in Russian gives
// the texts the English ones are checked against.
#include "../dialogs/ScriptedWindow.h"

#include "ui/app/CoreTexts.h"
#include "ui/app/QuillmarkApplication.h"
#include "ui/dialogs/OptUnit.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTableWidget>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace quillmark;
using namespace quillmark::dialogtest;

namespace {

// Texts in a fixed order: what each widget and action shows.
QStringList VisibleTexts(TMainForm& form)
{
    QStringList texts;
    const auto add = [&texts](const QObject* owner, const QString& what, const QString& text) {
        texts << QString::fromLatin1(owner->metaObject()->className()) + QStringLiteral(" ") + owner->objectName() + QLatin1Char(' ') +
                     what + QStringLiteral(": ") + text;
    };
    QList<QWidget*> widgets{&form};
    widgets += form.findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (w->isWindow())
            add(w, QStringLiteral("title"), w->windowTitle());
        add(w, QStringLiteral("hint"), w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(w, QStringLiteral("label"), label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(w, QStringLiteral("button"), button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w))
            add(w, QStringLiteral("group"), group->title());
        if (auto* dock = qobject_cast<QDockWidget*>(w))
            add(w, QStringLiteral("dock"), dock->windowTitle());
        if (auto* box = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < box->count(); ++i)
                add(w, QStringLiteral("item"), box->itemText(i));
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, QStringLiteral("tab"), tabs->tabText(i));
        if (auto* menu = qobject_cast<QMenu*>(w))
            add(w, QStringLiteral("menu"), menu->title());
    }
    for (QAction* action : form.findChildren<QAction*>()) {
        add(action, QStringLiteral("action"), action->text());
        add(action, QStringLiteral("action hint"), action->toolTip());
    }
    return texts;
}

// Russian is the source language; the only Cyrillic an English window may
// show is the language box naming Russian in Russian.
bool Untranslated(const QString& text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return text.contains(cyrillic) && !text.endsWith(QStringLiteral("item: Русский"));
}

} // namespace

TEST(Language, EveryTextOfTheWindowIsInEnglish)
{
    const QStringList russian = [] {
        ScriptedWindow w;
        return VisibleTexts(*w.form);
    }();
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral("quillmark_en"), QStringLiteral(QUILLMARK_BUILD_DIR)));
    QCoreApplication::installTranslator(&english);
    {
        ScriptedWindow w;
        const QStringList texts = VisibleTexts(*w.form);
        ASSERT_EQ(texts.size(), russian.size());
        int checked = 0;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString shown = texts[i].section(QStringLiteral(": "), 1);
            const QString source = russian[i].section(QStringLiteral(": "), 1);
            EXPECT_FALSE(Untranslated(texts[i])) << texts[i].toStdString();
            EXPECT_FALSE(shown.isEmpty() && !source.isEmpty()) << russian[i].toStdString();
            checked += Untranslated(russian[i]) ? 1 : 0;
        }
        EXPECT_GT(checked, 100);
        // Texts that come from the core when the user acts.
        w.form->mi2PointSetClick();
        EXPECT_EQ(CoreText("Задайте точку Xmin и Ymin"), QStringLiteral("Click the Xmin and Ymin point"));
        EXPECT_EQ(CoreMessage("Не удалось открыть файл /tmp/a b.cal"), QStringLiteral("Cannot open file /tmp/a b.cal"));
        EXPECT_EQ(CoreMessage("Файл калибровки пуст."), QStringLiteral("The calibration file is empty."));
        EXPECT_EQ(CoreMessage("Cannot load image."), QStringLiteral("Cannot load image."));
    }
    QCoreApplication::removeTranslator(&english);
}

TEST(Language, TheOptionIsKeptOnceChosenAndTheCommandLineOverridesIt)
{
    ScriptedWindow w;
    const MainFormEnvironment environment = testsupport::TemporaryFolderEnvironment(w.folder, w.dialogs);
    EXPECT_EQ(TMainForm::SavedLanguageOption(environment), LanguageOption::System);
    // Never chosen: the file gets no line for it.
    EXPECT_EQ(w.form->SettingsText().find("Language="), std::string::npos);
    w.form->OptionsForm->cbLanguage->setCurrentIndex(2);
    w.form->FormClose();
    EXPECT_EQ(TMainForm::SavedLanguageOption(environment), LanguageOption::English);

    QStringList arguments{QStringLiteral("quillmark"), QStringLiteral("--lang"), QStringLiteral("EN"),
                          QStringLiteral("chart.png")};
    QString error;
    EXPECT_EQ(TakeLanguageArgument(arguments, error), UiLanguage::English);
    EXPECT_EQ(arguments, (QStringList{QStringLiteral("quillmark"), QStringLiteral("chart.png")}));
    arguments = {QStringLiteral("quillmark"), QStringLiteral("--lang=de")};
    EXPECT_EQ(TakeLanguageArgument(arguments, error), std::nullopt);
    EXPECT_FALSE(error.isEmpty());
}
