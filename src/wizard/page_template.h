// What the install page shows besides its lines' texts: the label of its tab
// and the order of its three lines, from top to bottom. The lines are
// visible when the page is created.
#pragma once

#include <array>

#include "wizard/sheet_view.h"

namespace wizard {

inline constexpr char kInstallPageCaption[] = "    Install    ";

inline constexpr std::array<int, 3> kInstallPageLinesTopDown = {kDriveLineId, kModuleLineId,
                                                                kSupportLineId};

}  // namespace wizard
