#include "framework/controls/PaintControl.h"

#include "framework/base/StringList.h"
#include "framework/controls/WinControl.h"

#include <utility>

namespace zorp::fw {

TPaintControl::TPaintControl(TWinControl& Owner, std::string WinClassName)
    : FOwner(Owner), FWinClassName(std::move(WinClassName)) {}

void TPaintControl::HandleNeeded() {
    if (!FHandleAllocated) {
        FHandleAllocated = true;
        ++FHandleCreateCount;
        FText.clear();
    }
}

void TPaintControl::DestroyHandle() {
    FHandleAllocated = false;
    FText.clear();
}

LRESULT TPaintControl::Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam) {
    HandleNeeded();
    switch (Msg) {
    case WM_SETTEXT:
        FText = LParam != 0 ? std::string(reinterpret_cast<const char*>(LParam)) : std::string();
        return 1;
    case WM_ERASEBKGND: {
        if (WParam == 0)
            return 0;
        TCanvas& canvas = *reinterpret_cast<TCanvas*>(WParam);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(FOwner.Color());
        canvas.FillRect(FOwner.ClientRect());
        return 1;
    }
    case WM_PAINT: {
        if (WParam == 0)
            return 0;
        TCanvas& canvas = *reinterpret_cast<TCanvas*>(WParam);
        canvas.Font().Assign(FOwner.Font());
        canvas.Brush().SetStyle(bsClear);
        TStringList lines;
        lines.SetText(FText);
        const int32_t lineHeight = canvas.TextHeight("");
        for (int i = 0; i < lines.Count(); ++i)
            canvas.TextRect(FOwner.ClientRect(), 2, 2 + i * lineHeight, lines.Get(i));
        canvas.Brush().SetStyle(bsSolid);
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace zorp::fw
