#include "frontends/win32/line_brushes.h"

#include <algorithm>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

LineBrushes::~LineBrushes() {
    for (const Brush& brush : brushes_) {
        ::DeleteObject(brush.handle);
    }
}

BrushHandle LineBrushes::For(int controlId, wizard::ColorRef background) {
    auto brush = std::find_if(brushes_.begin(), brushes_.end(), [controlId](const Brush& made) {
        return made.controlId == controlId;
    });
    if (brush == brushes_.end()) {
        brush = brushes_.insert(brushes_.end(), Brush{controlId, background, nullptr});
    } else if (brush->color != background) {
        ::DeleteObject(brush->handle);
        brush->handle = nullptr;
    }
    if (brush->handle == nullptr) {
        brush->color = background;
        brush->handle = ::CreateSolidBrush(background);
    }
    return brush->handle;
}

}  // namespace platform::win32
