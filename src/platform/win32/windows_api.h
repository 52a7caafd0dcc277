// <windows.h>, for .cpp files that call
// Windows directly: shared headers stay free of Windows macros. The seam names
// its folder search's step FindNextFile, so that macro is taken away; calls
// to the system use the ANSI name FindNextFileA. The same goes for the sheet
// view's SetWindowText (SetWindowTextA).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef FindNextFile
#undef SetWindowText
