// Keeps the width that the sheet was given at its creation (the banner's
// room) through the property sheet's own sizing at initialisation. That
// sizing is meant to grow the window by as much as it grows the tab control
// to fit the page; a property sheet that computes the width afresh instead
// would drop the room, so a new width below the creation width plus the tab
// control's growth is raised to it.
#pragma once

#include "frontends/win32/window_handles.h"

namespace platform::win32 {

class SheetWidthKeeper {
  public:
    // Around the system's own processing of the sheet's WM_INITDIALOG.
    void Begin(WindowHandle sheet);
    void End();

    // A new width of the sheet's window (WM_WINDOWPOSCHANGING), adjusted
    // while the initialisation runs.
    int Adjust(int width) const;

  private:
    WindowHandle sheet_ = nullptr;
    int widthAtStart_ = 0;
    int tabWidthAtStart_ = 0;
};

}  // namespace platform::win32
