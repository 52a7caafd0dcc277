// The solid brushes with which the install page's coloured lines paint their
// background: one per line, made again only when the line's colour changes.
#pragma once

#include <vector>

#include "frontends/win32/window_handles.h"
#include "wizard/sheet_view.h"

namespace platform::win32 {

class LineBrushes {
  public:
    LineBrushes() = default;
    LineBrushes(const LineBrushes&) = delete;
    LineBrushes& operator=(const LineBrushes&) = delete;
    ~LineBrushes();

    // The brush of the line's background colour.
    BrushHandle For(int controlId, wizard::ColorRef background);

  private:
    struct Brush {
        int controlId;
        wizard::ColorRef color;
        BrushHandle handle;
    };
    std::vector<Brush> brushes_;
};

}  // namespace platform::win32
