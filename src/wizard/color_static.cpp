#include "wizard/color_static.h"

namespace wizard {

CColorStatic::CColorStatic(SheetView& view, int controlId)
    : view_(view),
      controlId_(controlId),
      foreColor_(view.GetSysColor(kColorWindowText)),
      backColor_(view.GetSysColor(kColorActiveBorder)) {}

ColorRef CColorStatic::SetBackColor(ColorRef color) {
    const ColorRef previous = backColor_;
    backColor_ = color;
    view_.InvalidateLine(controlId_);
    return previous;
}

ColorRef CColorStatic::SetForeColor(ColorRef color) {
    const ColorRef previous = foreColor_;
    foreColor_ = color;
    return previous;
}

void CColorStatic::SetWindowText(const std::string& text) {
    view_.SetLineText(controlId_, text);
}

void CColorStatic::ShowWindow(int showCommand) {
    view_.ShowLine(controlId_, showCommand);
}

void CColorStatic::SetPageFont() {
    view_.SetLineFont(controlId_);
}

}  // namespace wizard
