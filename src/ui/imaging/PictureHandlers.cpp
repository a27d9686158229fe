// The picture page "Картинка": the adjustment controls, the run that turns
// SourceBitmap into WorkBitmap and shows it, reset, and hiding and showing
// the picture.
#include "ui/app/MainUnit.h"

#include "ui/imaging/FastBMPDraw.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quillmark {

namespace {

constexpr int kBlurMax = 100;

QSlider* NewSlider(QWidget* page, int maximum, int start, const QString& hint)
{
    auto* slider = new QSlider(Qt::Horizontal, page);
    slider->setRange(0, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, maximum / 10));
    slider->setValue(start);
    // Dragging moves the thumb only; the value changes when it is released.
    slider->setTracking(false);
    slider->setToolTip(hint);
    return slider;
}

// The hourglass for the length of a run, put back on every way out.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void TMainForm::ConnectPicturePage()
{
    m_openPictureFilter = QString::fromStdString(m_pictures->Formats().BuildFilter());

    auto* layout = qobject_cast<QVBoxLayout*>(tabImage->layout());
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    const auto label = [this](const QString& text) { return new QLabel(text, tabImage); };

    slLightness = NewSlider(tabImage, 510, 255, tr("Яркость"));
    slContrast = NewSlider(tabImage, 510, 255, tr("Контраст"));
    slSaturation = NewSlider(tabImage, 510, 255, tr("Насыщенность"));
    slCuttingOff = NewSlider(tabImage, 255, 0, QString());
    int row = 0;
    for (QSlider* slider : {slLightness, slContrast, slSaturation}) {
        grid->addWidget(label(slider->toolTip()), row, 0);
        grid->addWidget(slider, row++, 1);
    }
    grid->addWidget(label(tr("Отсечь")), row, 0);
    grid->addWidget(slCuttingOff, row++, 1);

    spGaussianBlur = new SpinEdit(tabImage);
    spGaussianBlur->SetIntegerKind(true);
    spGaussianBlur->SetMinValue(0);
    spGaussianBlur->SetMaxValue(kBlurMax);
    spGaussianBlur->SetValue(0);
    grid->addWidget(label(tr("Размытие")), row, 0);
    grid->addWidget(spGaussianBlur, row++, 1);

    // Equal limits: the rotation takes any value.
    spRotate = new SpinEdit(tabImage);
    spRotate->SetIncrement(0.25);
    spRotate->SetValue(0);
    grid->addWidget(label(tr("Повернуть")), row, 0);
    grid->addWidget(spRotate, row++, 1);

    chInvert = new QCheckBox(tr("Негатив"), tabImage);
    grid->addWidget(chInvert, row++, 0, 1, 2);
    btnReset = new QPushButton(tr("Возврат"), tabImage);
    grid->addWidget(btnReset, row++, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    layout->addStretch(1);

    // A user action on a slider (key, wheel, track click, thumb release)
    // triggers an action and then writes the value; a write from code
    // triggers none. So the value change that follows an action is the
    // completed change, and only that one runs the pipeline.
    // Held down on the track, a slider repeats its page step every 50 ms:
    // those steps only move it, and the release completes the change.
    for (QSlider* slider : {slLightness, slContrast, slSaturation, slCuttingOff}) {
        connect(slider, &QSlider::actionTriggered, this,
                [this, slider](int action) { SliderChangeCompleted(slider, action); });
        connect(slider, &QSlider::valueChanged, this, [this, slider] {
            if (m_completingSlider != slider)
                return;
            m_completingSlider = nullptr;
            if (m_trackHeldSlider == slider)
                return;
            ApplyAdjustments();
        });
        connect(slider, &QSlider::sliderPressed, this, [this] { m_trackHeldSlider = nullptr; });
    }
    // Typing a number into an edit is one undo step, not one per key.
    connect(spGaussianBlur, &SpinEdit::Changed, this, [this] {
        const DigitizeSession::Step step(Document, StepName::Adjust, "blur");
        ApplyAdjustments();
    });
    connect(spRotate, &SpinEdit::Changed, this, [this] {
        const DigitizeSession::Step step(Document, StepName::Adjust, "rotate");
        ApplyAdjustments();
    });
    connect(chInvert, &QCheckBox::clicked, this, &TMainForm::ApplyAdjustments);
    connect(btnReset, &QPushButton::clicked, this, &TMainForm::btnResetClick);
}

void TMainForm::SliderChangeCompleted(QSlider* slider, int action)
{
    const bool pageStep = action == QAbstractSlider::SliderPageStepAdd || action == QAbstractSlider::SliderPageStepSub;
    if (pageStep && (QGuiApplication::mouseButtons() & Qt::LeftButton) && !slider->isSliderDown())
        m_trackHeldSlider = slider;
    // The action has moved the position; the value is written right after
    // this signal, and only when it differs, so the mark is always consumed.
    m_completingSlider = slider->sliderPosition() != slider->value() ? slider : nullptr;
}

bool TMainForm::SliderTrackReleased(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease || watched != m_trackHeldSlider)
        return false;
    m_trackHeldSlider = nullptr;
    ApplyAdjustments();
    return true;
}

AdjustmentValues TMainForm::CurrentAdjustments() const
{
    AdjustmentValues values;
    values.Lightness = slLightness->value();
    values.Contrast = slContrast->value();
    values.Saturation = slSaturation->value();
    values.CuttingOff = slCuttingOff->value();
    // A typed number outside 0..100 is only brought into range when the
    // edit loses the focus; until then it counts as its nearest limit.
    const double blur = std::clamp(spGaussianBlur->Value(), 0.0, static_cast<double>(kBlurMax));
    values.GaussianBlur = static_cast<int>(std::nearbyint(blur));
    values.Rotate = spRotate->Value();
    values.Invert = chInvert->isChecked();
    return values;
}

void TMainForm::ApplyAdjustments()
{
    if (!PictureOpen())
        return;
    const WaitCursor hourglass;
    // The document rebuilds the working copy and the window draws it.
    Document.Adjust(CurrentAdjustments());
}

void TMainForm::btnResetClick()
{
    if (Document.Busy())
        return;
    // Slider writes run nothing; the blur write runs the pipeline when it
    // changes the value, so a reset may run it twice, as one undo step.
    // Rotation and negative are kept.
    const DigitizeSession::Step step(Document, StepName::ResetAdjustments);
    slContrast->setValue(255);
    slLightness->setValue(255);
    slSaturation->setValue(255);
    slCuttingOff->setValue(0);
    spGaussianBlur->SetValue(0);
    ApplyAdjustments();
}

void TMainForm::btnClearClick()
{
    if (btnClear->isChecked()) {
        Chart->BackImage().fill(Chart->BackColor());
        Chart->RepaintNow();
        SetButtonHint(btnClear, tr("Показать картинку"));
        miHideImage->setChecked(true);
    } else {
        ApplyAdjustments();
        SetButtonHint(btnClear, tr("Скрыть картинку"));
        miHideImage->setChecked(false);
    }
}

void TMainForm::miHideImageClick()
{
    btnClear->setChecked(miHideImage->isChecked());
    btnClearClick();
}

} // namespace quillmark
