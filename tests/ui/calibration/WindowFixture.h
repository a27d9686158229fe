#pragma once
// A main window built offscreen in a temporary program folder, with every
// modal request answered by a script and recorded ("confirm: <caption>",
// "dialog"), so no test reaches a real modal box.
#include "ui/app/MainUnit.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/widgets/SpinEdit.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace quillmark::testing {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        dialogs = std::make_shared<testsupport::RecordingDialogs>();
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(folder, dialogs));
        for (SpinEdit* edit : {form->spXMin, form->spXMax, form->spYMin, form->spYMax, form->spXIncrement,
                               form->spYIncrement})
            edit->SetDecimalSeparator(QStringLiteral("."));
    }

    QTemporaryDir folder;
    std::shared_ptr<testsupport::RecordingDialogs> dialogs;
    std::unique_ptr<TMainForm> form;
};

} // namespace quillmark::testing
