#include "ui/dialogs/OptUnit.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "base/NumberText.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

namespace {

SpinEdit* IntegerEdit(QWidget* parent, int minimum, int maximum)
{
    auto* edit = new SpinEdit(parent);
    edit->SetIntegerKind(true);
    edit->SetMinValue(minimum);
    edit->SetMaxValue(maximum);
    edit->SetIncrement(1);
    edit->SetValue(minimum);
    return edit;
}

// Reads of section Options with the defaults of the settings table.
bool ReadOption(const SettingsStore& store, const char* key)
{
    return store.ReadBool("Options", key, FindSettingKey("Options", key).Default == "1");
}

int ReadIntegerOption(const SettingsStore& store, const char* key)
{
    const auto def = static_cast<int>(*ParseNumber(FindSettingKey("Options", key).Default, "."));
    return store.ReadInteger("Options", key, def);
}

std::uint32_t ReadColourOption(const SettingsStore& store, const char* key)
{
    const std::string def(FindSettingKey("Options", key).Default);
    const std::optional<ColourValue> colour = TextToColour(store.ReadString("Options", key, def));
    return colour ? *colour : TextToColour(def).value_or(0);
}

} // namespace

TOptionsForm::TOptionsForm(const SettingsStore& iniFile, std::function<void(bool)> setSeriesOrdering,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_setSeriesOrdering(std::move(setSeriesOrdering))
{
    setWindowTitle(tr("Опции"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);

    chboxScaling = new QCheckBox(tr("Масштабировать координатную сетку относительно нуля"), this);
    chboxScaling->setToolTip(tr("Иначе, относительно середины осей"));
    chboxRotate = new QCheckBox(tr("Поворачивать картинку при привязке координат по 3 или 4 точкам"), this);
    chboxSort = new QCheckBox(tr("Не упорядочивать по X"), this);
    layout->addWidget(chboxScaling);
    layout->addWidget(chboxRotate);
    layout->addWidget(chboxSort);

    // Each tuning number: the edit left of its label, the hint on both.
    const auto tuning = [this, layout](SpinEdit* edit, const QString& caption, const QString& hint) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(caption, this);
        edit->setToolTip(hint);
        label->setToolTip(hint);
        label->setBuddy(edit);
        row->addWidget(edit);
        row->addWidget(label, 1);
        layout->addLayout(row);
    };
    spLineSens = IntegerEdit(this, 0, 500);
    tuning(spLineSens, tr("Характерная толщина оцифровываемой линии"),
           tr("Определяется толщиной линии для оцифровки\nи крутизной фронтов. Подбирается "
                          "экспериментально."));
    spColorSens = IntegerEdit(this, 0, 500);
    tuning(spColorSens, tr("Характерный диапозон цветов"),
           tr("В режиме оцифровки по цвету определяет диапазон учитываемых цветов\nотносительно "
                          "заданного цвета. Подбирается экспериментально."));
    spDigits = IntegerEdit(this, 0, 18);
    tuning(spDigits, tr("Число знаков в оцифровываемых значениях"), QString());

    // The two groups: each label left of its control.
    const auto group = [this](QGridLayout*& grid) {
        auto* box = new QGroupBox(this);
        grid = new QGridLayout(box);
        return box;
    };
    const auto row = [this](QGridLayout* grid, int r, const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(control);
        grid->addWidget(label, r, 0);
        grid->addWidget(control, r, 1);
    };
    QGridLayout* lineGrid = nullptr;
    QGroupBox* lineGroup = group(lineGrid);
    spLineWeight = IntegerEdit(lineGroup, 0, 10);
    cboxLine = new ColorBox(lineGroup);
    cboxGrid = new ColorBox(lineGroup);
    row(lineGrid, 0, tr("Толщина линии"), spLineWeight);
    row(lineGrid, 1, tr("Цвет линии"), cboxLine);
    row(lineGrid, 2, tr("Цвет сетки"), cboxGrid);

    QGridLayout* pointGrid = nullptr;
    QGroupBox* pointGroup = group(pointGrid);
    spSensitivity = IntegerEdit(pointGroup, 0, 50);
    cboxPoint = new ColorBox(pointGroup);
    cboxSelectPoint = new ColorBox(pointGroup);
    row(pointGrid, 0, tr("Чувствительность выбора точки"), spSensitivity);
    row(pointGrid, 1, tr("Цвет точки"), cboxPoint);
    row(pointGrid, 2, tr("Цвет выделенной точки"), cboxSelectPoint);

    auto* groups = new QHBoxLayout;
    groups->addWidget(lineGroup);
    groups->addWidget(pointGroup);
    layout->addLayout(groups);

    auto* precise = new QGroupBox(tr("Точная оцифровка"), this);
    auto* preciseGrid = new QGridLayout(precise);
    chSubPixel = new QCheckBox(tr("Субпиксельная точность"), precise);
    chSubPixel->setToolTip(tr("Строка линии — центр полосы с долями пикселя; значения берутся в центрах пикселей"));
    chNoFill = new QCheckBox(tr("Не заполнять пропуски"), precise);
    chNoFill->setToolTip(tr("Где линия не найдена, точки нет"));
    chFollow = new QCheckBox(tr("Следовать за линией"), precise);
    chFollow->setToolTip(tr("Где в столбце несколько полос цвета линии, берётся ближайшая к продолжению линии"));
    chAutoSens = new QCheckBox(tr("Подобрать чувствительность"), precise);
    chAutoSens->setToolTip(tr("Диапазон цветов подбирается по картинке"));
    preciseGrid->addWidget(chSubPixel, 0, 0);
    preciseGrid->addWidget(chNoFill, 0, 1);
    preciseGrid->addWidget(chFollow, 1, 0);
    preciseGrid->addWidget(chAutoSens, 1, 1);
    layout->addWidget(precise);

    // The language: each item names itself in its own language.
    auto* languageRow = new QHBoxLayout;
    auto* languageLabel = new QLabel(tr("Язык"), this);
    cbLanguage = new QComboBox(this);
    cbLanguage->addItems({tr("Системный"), QStringLiteral("Русский"), QStringLiteral("English")});
    languageLabel->setBuddy(cbLanguage);
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(cbLanguage);
    languageRow->addWidget(new QLabel(tr("(действует со следующего запуска)"), this), 1);
    layout->addLayout(languageRow);

    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    // toggled, not clicked: a state set by the program runs the handler too.
    connect(chboxSort, &QCheckBox::toggled, this, &TOptionsForm::chboxSortClick);

    FormCreate(iniFile);
}

void TOptionsForm::FormCreate(const SettingsStore& iniFile)
{
    chboxScaling->setChecked(ReadOption(iniFile, "Scaling"));
    chboxRotate->setChecked(ReadOption(iniFile, "Rotate"));
    chboxSort->setChecked(ReadOption(iniFile, "Sort"));
    spLineSens->SetValue(ReadIntegerOption(iniFile, "LineSens"));
    spColorSens->SetValue(ReadIntegerOption(iniFile, "ColorSens"));
    spLineWeight->SetValue(ReadIntegerOption(iniFile, "LineWeight"));
    cboxLine->SetColourValue(ReadColourOption(iniFile, "LineColor"));
    cboxGrid->SetColourValue(ReadColourOption(iniFile, "GridColor"));
    spSensitivity->SetValue(ReadIntegerOption(iniFile, "Sensitivity"));
    spDigits->SetValue(ReadIntegerOption(iniFile, "Precision"));
    cboxPoint->SetColourValue(ReadColourOption(iniFile, "PointColor"));
    cboxSelectPoint->SetColourValue(ReadColourOption(iniFile, "SelectPointColor"));
    chSubPixel->setChecked(ReadOption(iniFile, "SubPixel"));
    chNoFill->setChecked(ReadOption(iniFile, "NoFill"));
    chFollow->setChecked(ReadOption(iniFile, "Follow"));
    chAutoSens->setChecked(ReadOption(iniFile, "AutoSens"));
    const int language = ReadIntegerOption(iniFile, "Language");
    cbLanguage->setCurrentIndex(language >= 0 && language < cbLanguage->count() ? language : 0);
}

void TOptionsForm::chboxSortClick()
{
    if (m_setSeriesOrdering)
        m_setSeriesOrdering(!chboxSort->isChecked());
}

} // namespace quillmark
