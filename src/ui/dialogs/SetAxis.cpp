#include "ui/dialogs/SetAxis.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "base/NumberText.h"
#include "ui/widgets/SpinEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace quillmark {

TSetAxisForm::TSetAxisForm(const SettingsStore& iniFile, const QString& separator, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Задайте координаты"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* header = new QLabel(QStringLiteral(" X                    Y"), this);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    grid->addWidget(header, 0, 1, 1, 2);

    const std::string sep = separator.toStdString();
    const auto edit = [&](const char* key, const QString& hint) {
        auto* e = new SpinEdit(this);
        e->SetDecimalSeparator(separator);
        e->SetIncrement(0.1);
        // The table's defaults are integers, the same under any separator; a
        // stored text that is not a number gives the default as well.
        const std::string def(FindSettingKey("SetAxis", key).Default);
        const std::optional<long double> stored = ParseNumber(iniFile.ReadString("SetAxis", key, def), sep);
        const bool usable = stored && std::fabs(*stored) <= std::numeric_limits<double>::max();
        e->SetValue(usable ? *stored : *ParseNumber(def, "."));
        if (!hint.isEmpty())
            e->setToolTip(hint);
        return e;
    };
    // Created in tab order: X min, Y min, X max, Y max, then the buttons.
    spXMin = edit("XMin", tr("Нижняя граница оси X"));
    spYMin = edit("YMin", tr("Нижняя граница оси Y"));
    spXMax = edit("XMax", tr("Верхняя граница оси X"));
    spYMax = edit("YMax", QString());
    grid->addWidget(new QLabel(QStringLiteral("Min"), this), 1, 0);
    grid->addWidget(spXMin, 1, 1);
    grid->addWidget(spYMin, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Max"), this), 2, 0);
    grid->addWidget(spXMax, 2, 1);
    grid->addWidget(spYMax, 2, 2);
    layout->addLayout(grid);

    btnCancel = new QPushButton(tr("Отменить"), this);
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnOk);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(spXMin, spYMin);
    setTabOrder(spYMin, spXMax);
    setTabOrder(spXMax, spYMax);
    setTabOrder(spYMax, btnCancel);
    setTabOrder(btnCancel, btnOk);

    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TSetAxisForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    btnOk->setDefault(true);
    spXMin->setFocus(Qt::OtherFocusReason);
    spXMin->selectAll();
}

} // namespace quillmark
