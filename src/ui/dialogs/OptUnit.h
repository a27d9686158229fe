#pragma once
// TOptionsForm: the modal dialog "Опции". Its controls are the only store of
// the option values for the whole run; other code reads them directly. The
// start values come from the settings file at construction; there is no way
// to cancel, so every change made in the dialog stays.
#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace quillmark {

class ColorBox;
class SettingsStore;
class SpinEdit;

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    // setSeriesOrdering receives the negation of chboxSort's new state each
    // time the box changes, the change made from the settings included.
    TOptionsForm(const SettingsStore& iniFile, std::function<void(bool)> setSeriesOrdering,
                 QWidget* parent = nullptr);

    QCheckBox* chboxScaling = nullptr;
    QCheckBox* chboxRotate = nullptr;
    QCheckBox* chboxSort = nullptr;
    SpinEdit* spLineSens = nullptr;
    SpinEdit* spColorSens = nullptr;
    SpinEdit* spDigits = nullptr;
    SpinEdit* spLineWeight = nullptr;
    ColorBox* cboxLine = nullptr;
    ColorBox* cboxGrid = nullptr;
    SpinEdit* spSensitivity = nullptr;
    ColorBox* cboxPoint = nullptr;
    ColorBox* cboxSelectPoint = nullptr;
    // Items "Системный", "Русский", "English" (LanguageOption); taken at
    // the next start.
    QComboBox* cbLanguage = nullptr;
    // The group "Точная оцифровка": the precise trace's options.
    QCheckBox* chSubPixel = nullptr;
    QCheckBox* chNoFill = nullptr;
    QCheckBox* chFollow = nullptr;
    QCheckBox* chAutoSens = nullptr;
    QPushButton* btnOk = nullptr;

    void chboxSortClick();

private:
    void FormCreate(const SettingsStore& iniFile);

    std::function<void(bool)> m_setSeriesOrdering;
};

} // namespace quillmark
