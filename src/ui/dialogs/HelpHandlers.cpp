// The help window, the about box and the floating hint window of the main
// window: made once here and kept to the end of the run.
#include "ui/app/MainUnit.h"

#include "ui/dialogs/About.h"
#include "ui/app/ProgramIcon.h"
#include "ui/dialogs/HelpUnit.h"
#include "ui/dialogs/Hint.h"
#include "ui/plot/PlotChart.h"

namespace quillmark {

void TMainForm::ConnectHelpHandlers()
{
    AboutBox = new TAboutBox(this);
    HelpForm = new THelpForm(Environment().ProgramFolder, this);
    HintForm = new THintForm(this);
    setWindowIcon(ProgramIcon());

    // While the hint is shown (calibration mode) it follows the pointer over
    // the plot.
    connect(Chart, &PlotChart::MouseMove, this, [this](Qt::KeyboardModifiers, int x, int y) {
        if (HintForm->isVisible())
            HintForm->FollowPointer(Chart->mapToGlobal(QPoint(x, y)));
    });
}

void TMainForm::miDigHelpClick()
{
    Dialogs().ShowModalDialog(*HelpForm);
}

void TMainForm::miAboutClick()
{
    Dialogs().ShowModalDialog(*AboutBox);
}

} // namespace quillmark
