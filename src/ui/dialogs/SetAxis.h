#pragma once
// TSetAxisForm: "Задайте координаты", the dialog where the user types the
// axis values of the calibration's reference points. Created once; it keeps
// what was typed for the whole run. Two points use (Min X, Min Y) for the
// first point and (Max X, Max Y) for the second; three and four points use the
// same four fields.
#include <QDialog>

class QPushButton;

namespace quillmark {

class SettingsStore;
class SpinEdit;

class TSetAxisForm : public QDialog {
    Q_OBJECT
public:
    // Start values from section SetAxis; separator is the locale's decimal
    // separator the settings were written with.
    TSetAxisForm(const SettingsStore& iniFile, const QString& separator, QWidget* parent = nullptr);

    SpinEdit* spXMin = nullptr;
    SpinEdit* spYMin = nullptr;
    SpinEdit* spXMax = nullptr;
    SpinEdit* spYMax = nullptr;
    QPushButton* btnCancel = nullptr; // "Отменить": the cancel result
    QPushButton* btnOk = nullptr;     // "Ok": the OK result

protected:
    // Every showing starts at the first value with Ok the default button,
    // whatever button closed the dialog the time before.
    void showEvent(QShowEvent* event) override;
};

} // namespace quillmark
