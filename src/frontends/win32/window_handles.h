// Handles of the Windows user interface, for headers that must stay free of
// <windows.h>: the same strict handle types that it declares.
#pragma once

struct HWND__;
struct HDC__;
struct HBITMAP__;
struct HBRUSH__;
struct HFONT__;
struct HINSTANCE__;

namespace platform::win32 {

using WindowHandle = HWND__*;
using DeviceContext = HDC__*;
using BitmapHandle = HBITMAP__*;
using BrushHandle = HBRUSH__*;
using FontHandle = HFONT__*;
using ModuleHandle = HINSTANCE__*;

}  // namespace platform::win32
