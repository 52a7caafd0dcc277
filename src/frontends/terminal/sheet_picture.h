// The installer's sheet drawn as text, one character cell standing for 8 by
// 16 pixels: the title bar, the page with its three coloured lines, the tab,
// the banner beside the page, and the Install and Cancel buttons.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wizard/color_static.h"

namespace setup {

struct LinePicture {
    std::string text;
    bool visible;
    bool pageFont;
    wizard::LineColors colors;
};

struct SheetPicture {
    std::string title;
    int columns;  // the whole sheet, frame included
    // The page, in columns of the sheet's inside.
    int pageLeft;
    int pageColumns;
    std::vector<LinePicture> lines;  // from top to bottom
    std::string tabCaption;
    bool tabsAtBottom;
    // The banner's first column in the sheet's inside, when it is drawn.
    std::optional<int> bannerLeft;
    int bannerColumns;
    bool installVisible;
    std::string installCaption;
};

// The picture as lines of text; with colour, the lines paint in their own
// colours (the page font in bold) and the banner in its own.
std::string DrawSheet(const SheetPicture& picture, bool colour);

}  // namespace setup
