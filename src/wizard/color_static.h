// A static text line of the install page that paints in colours of its own:
// the window text colour on the active border colour unless told otherwise.
#pragma once

#include <string>

#include "wizard/sheet_view.h"

namespace wizard {

// What the line's colour query (the reflected WM_CTLCOLOR) answers: the
// renderer sets the text and background colours of the device context to
// these and paints the background with a solid brush of background, which it
// keeps for as long as the colour stays.
struct LineColors {
    ColorRef text;
    ColorRef background;
    bool operator==(const LineColors&) const = default;
};

class CColorStatic {
  public:
    CColorStatic(SheetView& view, int controlId);

    int ControlId() const { return controlId_; }

    // Each returns the previous colour. A new background repaints the whole
    // line with erasing; a new text colour shows at the next paint.
    ColorRef SetBackColor(ColorRef color);
    ColorRef SetForeColor(ColorRef color);
    ColorRef GetBackColor() const { return backColor_; }
    ColorRef GetForeColor() const { return foreColor_; }

    LineColors CtlColor() const { return {foreColor_, backColor_}; }

    // The line as a window.
    void SetWindowText(const std::string& text);
    void ShowWindow(int showCommand);
    // Gives the line the page font, with redraw.
    void SetPageFont();

  private:
    SheetView& view_;
    int controlId_;
    ColorRef foreColor_;
    ColorRef backColor_;
};

}  // namespace wizard
