#pragma once
// A main window for the digitizing tests: a temporary settings folder, a
// scripted stand-in for every modal box (confirmations recorded by their
// question), and pictures made in the test.
#include "ui/app/MainUnit.h"
#include "formats/PictureLoader.h"
#include "formats/StartupFormats.h"
#include "ui/formats/ToolkitPictures.h"
#include "imaging/FastBMP.h"
#include "ui/plot/PlotChart.h"
#include "ui/support/RecordingDialogs.h"

#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quillmark::test {

class DigitizeWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        using Boxes = testsupport::RecordingDialogs;
        boxes = std::make_shared<Boxes>(Boxes::ConfirmLine::Text, Boxes::DialogLine::None);
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(folder, boxes));
        form->Document.SetAxisRange(Axis::X, 0, 10);
        form->Document.SetAxisRange(Axis::Y, -3, 3);
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
        form->Document.OpenPicture(TFastBMP::CreateFromBitmap(graphic->TakeBitmap()));
        form->Document.Adjust(form->Document.Adjustments());
        form->EnablePictureGroup();
    }

    void SetMethod(DigitizeMethod method)
    {
        form->MetodBox->setCurrentIndex(static_cast<int>(method));
        form->MetodBoxChange();
    }

    QTemporaryDir folder;
    std::shared_ptr<testsupport::RecordingDialogs> boxes;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::test
