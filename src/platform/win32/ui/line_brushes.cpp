#include "platform/win32/ui/line_brushes.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

LineBrushes::~LineBrushes() {
    for (const auto& [id, brush] : brushes_) {
        ::DeleteObject(brush.handle);
    }
}

BrushHandle LineBrushes::For(int controlId, wizard::ColorRef background) {
    const auto found = brushes_.find(controlId);
    if (found != brushes_.end()) {
        if (found->second.color == background) {
            return found->second.handle;
        }
        ::DeleteObject(found->second.handle);
        brushes_.erase(found);
    }
    const BrushHandle handle = ::CreateSolidBrush(background);
    brushes_.emplace(controlId, Brush{background, handle});
    return handle;
}

}  // namespace platform::win32
