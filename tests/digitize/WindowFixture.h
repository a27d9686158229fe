#pragma once
// A main window for the digitizing tests: a temporary settings folder, a
// scripted stand-in for every modal box, and pictures made in the test.
#include "app/MainUnit.h"
#include "formats/PictureLoader.h"
#include "formats/StartupFormats.h"
#include "formats/ToolkitPictures.h"
#include "imaging/FastBMP.h"
#include "plot/PlotChart.h"

#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillmark::test {

class ScriptedBoxes : public ModalDialogs {
public:
    void ShowMessage(const QString& text) override { Calls.push_back("message: " + text.toStdString()); }
    void ShowError(const QString& caption, const QString& text) override
    {
        Calls.push_back("error: " + caption.toStdString() + " | " + text.toStdString());
    }
    bool Confirm(const QString&, const QString& text) override
    {
        Calls.push_back("confirm: " + text.toStdString());
        return ConfirmAnswer;
    }
    QString AskOpenFileName(const FileDialogRequest&) override { return {}; }
    QString AskSaveFileName(const FileDialogRequest&) override { return {}; }
    int ShowModalDialog(QDialog&) override { return 0; }

    std::vector<std::string> Calls;
    bool ConfirmAnswer = false;
};

class DigitizeWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        MainFormEnvironment environment;
        environment.ProgramFolder = folder.path() + QLatin1Char('/');
        environment.SettingsPath = folder.filePath(QStringLiteral("Quillmark.ini"));
        environment.Clock = [] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); };
        boxes = std::make_shared<ScriptedBoxes>();
        environment.Dialogs = boxes;
        form = std::make_unique<TMainForm>(std::move(environment));
        form->Chart->BottomAxis().SetMinMax(0, 10);
        form->Chart->LeftAxis().SetMinMax(-3, 3);
    }

    // Saves the image as a BMP in the test folder and returns its path.
    std::string SavePicture(const QImage& image, const QString& name = QStringLiteral("picture.bmp"))
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path.toStdString();
    }

    // Opens the file as the window's picture, decoded the way the batch
    // command decodes it.
    void OpenInWindow(const std::string& path)
    {
        PictureRegistry registry(BitmapPictureClass());
        std::unique_ptr<Graphic> graphic = LoadPicture(registry.Formats(), path);
        form->SourceBitmap = TFastBMP::CreateFromBitmap(graphic->TakeBitmap());
        form->WorkBitmap = TFastBMP::CreateCopy(*form->SourceBitmap);
        form->EnablePictureGroup();
    }

    void SetMethod(DigitizeMethod method)
    {
        form->MetodBox->setCurrentIndex(static_cast<int>(method));
        form->MetodBoxChange();
    }

    QTemporaryDir folder;
    std::shared_ptr<ScriptedBoxes> boxes;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::test
