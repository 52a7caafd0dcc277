#include "frontends/win32/property_sheet_framework.h"

#include <cstring>

#include "platform/win32/windows_api.h"
// windows.h must come first.
#include <commctrl.h>

#include "wizard/resource_ids.h"

namespace platform::win32 {

namespace {

// The framework running the sheet: window procedures and the creation hook
// have no other way to it. One sheet runs at a time, on the one thread.
PropertySheetFramework* g_running = nullptr;
HHOOK g_creationHook = nullptr;

bool IsTopLevelDialog(HWND window, const CBT_CREATEWNDA& creation) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0 && (creation.lpcs->style & WS_CHILD) == 0;
}

}  // namespace

struct SheetProcedures {
    // Subclasses the sheet before its first message: the first top-level
    // dialog that the thread creates while the sheet runs.
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_CREATEWND &&
            IsTopLevelDialog(window, *reinterpret_cast<CBT_CREATEWNDA*>(lParam))) {
            PropertySheetFramework& self = *g_running;
            self.sheetWindow_ = window;
            self.originalProcedure_ = ::SetWindowLongPtrA(
                window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetProcedure));
            self.window_.AttachSheet(window, self);
            ::UnhookWindowsHookEx(g_creationHook);
            g_creationHook = nullptr;
            return 0;
        }
        return ::CallNextHookEx(g_creationHook, code, wParam, lParam);
    }

    static LRESULT CALLBACK SheetProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
        PropertySheetFramework& self = *g_running;
        switch (message) {
            case WM_CREATE:
                self.message_ = message;
                self.wParam_ = wParam;
                self.lParam_ = lParam;
                return self.sheet_->OnCreate();
            case WM_INITDIALOG:
                self.message_ = message;
                self.wParam_ = wParam;
                self.lParam_ = lParam;
                return self.sheet_->OnInitDialog() ? TRUE : FALSE;
            case WM_WINDOWPOSCHANGING: {
                auto& position = *reinterpret_cast<WINDOWPOS*>(lParam);
                if ((position.flags & SWP_NOSIZE) == 0) {
                    position.cx = self.widthKeeper_.Adjust(position.cx);
                }
                break;
            }
            case WM_PAINT: {
                PAINTSTRUCT paint{};
                HDC context = ::BeginPaint(window, &paint);
                self.window_.SetPaintContext(context);
                self.sheet_->OnPaint();
                self.window_.SetPaintContext(nullptr);
                ::EndPaint(window, &paint);
                return 0;
            }
            default:
                break;
        }
        return ::CallWindowProcA(reinterpret_cast<WNDPROC>(self.originalProcedure_), window,
                                 message, wParam, lParam);
    }

    static INT_PTR CALLBACK PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
        PropertySheetFramework& self = *g_running;
        wizard::CInstallPageDlg& logic = self.sheet_->Page();
        switch (message) {
            case WM_INITDIALOG:
                self.window_.AttachPage(page);
                return logic.OnInitDialog() ? TRUE : FALSE;
            case WM_NOTIFY:
                switch (reinterpret_cast<NMHDR*>(lParam)->code) {
                    case PSN_SETACTIVE:
                        ::SetWindowLongPtrA(page, DWLP_MSGRESULT, logic.OnSetActive() ? 0 : -1);
                        return TRUE;
                    case PSN_APPLY:
                        ::SetWindowLongPtrA(
                            page, DWLP_MSGRESULT,
                            logic.OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
                        return TRUE;
                    default:
                        return FALSE;
                }
            case WM_CTLCOLORSTATIC: {
                const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
                const wizard::CColorStatic* line = logic.Line(id);
                if (line == nullptr) {
                    return FALSE;
                }
                const wizard::LineColors colors = line->CtlColor();
                HDC context = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(context, colors.text);
                ::SetBkColor(context, colors.background);
                return reinterpret_cast<INT_PTR>(self.brushes_.For(id, colors.background));
            }
            default:
                return FALSE;
        }
    }
};

PropertySheetFramework::PropertySheetFramework(ModuleHandle instance, SheetWindow& window)
    : instance_(instance), window_(window) {}

void PropertySheetFramework::Enable3dControls() {
    // The three-dimensional look is the system's own since Windows 95 and
    // NT 4; what the sheet needs is the common controls registered.
    ::InitCommonControls();
}

int PropertySheetFramework::DoModal(wizard::CPropertyDlg& sheet) {
    // The first forms of both records: those that every comctl32 knows.
    PROPSHEETPAGEA page{};
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instance_;
    page.pszTemplate = MAKEINTRESOURCEA(IDD_INSTALL_PAGE);
    page.pfnDlgProc = &SheetProcedures::PageProcedure;

    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = nullptr;
    header.hInstance = instance_;
    header.pszCaption = sheet.Caption().c_str();
    header.nPages = 1;
    header.nStartPage = 0;
    header.ppsp = &page;

    sheet_ = &sheet;
    g_running = this;
    g_creationHook = ::SetWindowsHookExA(WH_CBT, &SheetProcedures::CreationHook, nullptr,
                                         ::GetCurrentThreadId());
    const INT_PTR result = ::PropertySheetA(&header);
    if (g_creationHook != nullptr) {
        ::UnhookWindowsHookEx(g_creationHook);
        g_creationHook = nullptr;
    }
    g_running = nullptr;
    sheet_ = nullptr;
    return static_cast<int>(result);
}

std::intptr_t PropertySheetFramework::RunDefault() {
    const auto original = reinterpret_cast<WNDPROC>(originalProcedure_);
    if (message_ != WM_INITDIALOG) {
        return ::CallWindowProcA(original, sheetWindow_, message_, wParam_, lParam_);
    }
    widthKeeper_.Begin(sheetWindow_);
    const LRESULT result = ::CallWindowProcA(original, sheetWindow_, message_, wParam_, lParam_);
    widthKeeper_.End();
    return result;
}

}  // namespace platform::win32
