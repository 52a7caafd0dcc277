// The install page's dialog template 107: its tab caption, size, font and
// its three left-aligned static lines, in dialog units. The renderers build
// the page from it.
#pragma once

#include <array>

#include "wizard/sheet_view.h"

namespace wizard {

inline constexpr int kInstallPageTemplateId = 107;
// The page's title: the label of its tab.
inline constexpr char kInstallPageCaption[] = "    Install    ";
inline constexpr char kTemplateFontFace[] = "MS Sans Serif";
inline constexpr int kTemplateFontPoints = 8;
inline constexpr int kInstallPageWidth = 210;
inline constexpr int kInstallPageHeight = 89;

struct LineTemplate {
    int controlId;
    int x;
    int y;
    int width;
    int height;
};

// From top to bottom: drive line, module line, support line. Each is
// visible when the page is created.
inline constexpr std::array<LineTemplate, 3> kInstallPageLines = {{
    {kDriveLineId, 7, 4, 196, 21},
    {kModuleLineId, 7, 27, 196, 21},
    {kSupportLineId, 7, 50, 196, 21},
}};

}  // namespace wizard
