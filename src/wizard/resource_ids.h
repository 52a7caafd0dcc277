// Numbers of the installer's resources and of the install page's controls:
// the one place they are written. The resource script, the wizard's logic,
// both renderers and the test driver all take them from here, so this file
// is plain preprocessor text to the resource compiler.
#pragma once

#define IDD_INSTALL_PAGE 107
#define IDB_BANNER 135
#define IDC_DRIVE_LINE 1004
#define IDC_SUPPORT_LINE 1005
#define IDC_MODULE_LINE 1020

#ifndef RC_INVOKED
namespace wizard {

inline constexpr int kBannerBitmapId = IDB_BANNER;
// The install page's three lines.
inline constexpr int kDriveLineId = IDC_DRIVE_LINE;
inline constexpr int kModuleLineId = IDC_MODULE_LINE;
inline constexpr int kSupportLineId = IDC_SUPPORT_LINE;

}  // namespace wizard
#endif
