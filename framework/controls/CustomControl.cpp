#include "framework/controls/CustomControl.h"

namespace zorp::fw {

void TCustomControl::PaintWindow(TCanvas& DC) {
    const TCanvas::TTargetState target = DC.SaveTarget();
    FCanvas.RestoreTarget(target);
    try {
        Paint();
    } catch (...) {
        FCanvas.SetTarget(nullptr);
        throw;
    }
    FCanvas.SetTarget(nullptr);
}

} // namespace zorp::fw
