// Numbers of the installer's resources and of the install page's controls,
// shared by the resource script and the code that uses them.
#pragma once

#define IDD_INSTALL_PAGE 107
#define IDB_BANNER 135
#define IDC_DRIVE_LINE 1004
#define IDC_SUPPORT_LINE 1005
#define IDC_MODULE_LINE 1020
