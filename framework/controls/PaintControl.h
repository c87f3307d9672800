#pragma once

#include "../base/Export.h"
#include "Messages.h"

#include <string>

namespace zorp::fw {

class TCanvas;
class TWinControl;

/// A hidden helper window that paints copies of its owner control. A
/// data-aware edit in a grid of controls shows the record of each grid cell
/// by sending the text of that record to its paint control (WM_SETTEXT) and
/// having it paint into the grid's device context (WM_ERASEBKGND, WM_PAINT),
/// without touching the owner's own text.
///
/// The window is made on demand (HandleNeeded, Perform) with the window class
/// name given at construction ("EDIT" for edits) and can be destroyed at any
/// time (DestroyHandle); it is made again the next time it is needed. It
/// paints as an edit window does: the owner's colour as background and the
/// text's lines in the owner's font, from the top-left corner inward by two
/// pixels.
class ZORP_API TPaintControl {
public:
    /// Makes a paint control without a window for Owner, which must outlive
    /// it.
    TPaintControl(TWinControl& Owner, std::string WinClassName);
    /// Not copyable: a paint control belongs to one owner.
    /// @{
    TPaintControl(const TPaintControl&) = delete;
    TPaintControl& operator=(const TPaintControl&) = delete;
    /// @}

    /// The window class name given at construction.
    const std::string& WinClassName() const { return FWinClassName; }
    /// The control whose copies it paints.
    TWinControl& Owner() const { return FOwner; }

    /// True when the window exists.
    bool HandleAllocated() const { return FHandleAllocated; }
    /// Makes the window when there is none; a new window has no text.
    void HandleNeeded();
    /// Destroys the window and forgets its text.
    void DestroyHandle();
    /// Windows made so far.
    int HandleCreateCount() const { return FHandleCreateCount; }

    /// Sends a message to the window (making it first): WM_SETTEXT (LParam a
    /// NUL-terminated const char*), WM_ERASEBKGND and WM_PAINT (WParam a
    /// TCanvas*). Others answer 0.
    LRESULT Perform(uint32_t Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    /// The window's text.
    const std::string& Text() const { return FText; }

private:
    TWinControl& FOwner;
    std::string FWinClassName;
    bool FHandleAllocated = false;
    int FHandleCreateCount = 0;
    std::string FText;
};

} // namespace zorp::fw
