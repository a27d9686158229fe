#pragma once
// The adjusted picture as a pure function of the picture page's control
// values: work is rebuilt from source on every run, so nothing accumulates
// from earlier runs. The defaults are the controls' start values, with which
// a run is an exact copy.
#include "imaging/FastBMP.h"

namespace quillmark {

struct AdjustmentValues {
    int Lightness = 255;    // slLightness 0..510, 255 neutral
    int Contrast = 255;     // slContrast 0..510, 255 neutral
    int Saturation = 255;   // slSaturation 0..510, 255 skips the step
    int CuttingOff = 0;     // slCuttingOff 0..255, 0 off
    int GaussianBlur = 0;   // spGaussianBlur 0..100 passes
    double Rotate = 0;      // spRotate degrees, counter-clockwise on screen
    bool Invert = false;    // chInvert
    friend bool operator==(const AdjustmentValues&, const AdjustmentValues&) = default;
};

// Copy, rotate, negative, contrast, lightness, saturation, cut-off, blur, in
// that order. work must have the geometry of source and be another buffer.
void RunAdjustmentPipeline(const TFastBMP& source, TFastBMP& work, const AdjustmentValues& values);

} // namespace quillmark
