// A sheet window that logs what the wizard's logic does to it, keeps the
// page's lines and the Install button, and ends the process by throwing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "wizard/property_dlg.h"

namespace wizard_test {

struct ProcessExit {
    int status;
};

struct LineState {
    std::string text;
    bool visible = true;
};

class RecordingView : public wizard::SheetView {
  public:
    wizard::CPropertyDlg* sheet = nullptr;  // whose page DefaultOnInitDialog makes
    int createResult = 0;
    bool bannerLoads = true;
    bool okVisible = true;
    std::map<int, LineState> lines{
        {wizard::kDriveLineId, {}}, {wizard::kModuleLineId, {}}, {wizard::kSupportLineId, {}}};
    // What the logic did to the window, in order: "WindowAt 1 2 3 4", ...
    std::vector<std::string> calls;

    int DefaultOnCreate() override { return Log("DefaultOnCreate"), createResult; }
    bool DefaultOnInitDialog() override {
        Log("DefaultOnInitDialog"), sheet->Page().OnInitDialog();
        return sheet->Page().OnSetActive();
    }
    // Fixed rectangles; the first tab ends at the client's bottom once moved there.
    wizard::Rect GetWindowRect() override { return {100, 80, 449, 400}; }
    wizard::Rect GetClientRect() override { return {0, 0, 343, 294}; }
    wizard::Rect GetPageRect() override { return {7, 7, 334, 168}; }
    int FirstTabBottom() override { return tabsAtBottom_ ? 294 : 21; }
    void SetTabsAtBottom() override { Log("SetTabsAtBottom"), tabsAtBottom_ = true; }
    void MoveWindow(const wizard::Rect& rect) override { Log("WindowAt", rect); }
    void MovePage(const wizard::Rect& rect) override { Log("PageAt", rect); }
    void SetWindowText(const std::string& title) override { Log("SetWindowText " + title); }
    void SetActivePage() override { Log("SetActivePage"), sheet->Page().OnSetActive(); }
    void ShowOkButton(int command) override { okVisible = command != win::kSwHide; }
    void SetOkButtonText(const std::string& caption) override { Log("OkText [" + caption + "]"); }
    bool LoadBanner(int bitmapId) override { return Log("LoadBanner", bitmapId), bannerLoads; }
    int BannerWidth() override { return 262; }
    void DrawBanner(int x, int y) override { Log("DrawBanner", x, y); }
    void SetLineText(int id, const std::string& text) override { lines.at(id).text = text; }
    void ShowLine(int id, int command) override { lines.at(id).visible = command != win::kSwHide; }
    void InvalidateLine(int id) override { Log("InvalidateLine", id); }
    bool CreatePageFont(int tenths, const std::string& face) override {
        return Log("CreatePageFont " + face, tenths), true;
    }
    void SetLineFont(int id) override { Log("SetLineFont", id); }
    // Colours that name their index: 0x080808 for index 8.
    wizard::ColorRef GetSysColor(int index) override { return 0x010101u * index; }
    [[noreturn]] void ExitProcess(int status) override {
        Log("Exit", status);
        throw ProcessExit{status};
    }

  private:
    bool tabsAtBottom_ = false;

    template <typename... Numbers>
    void Log(std::string call, Numbers... numbers) {
        ((call += " " + std::to_string(numbers)), ...);
        calls.push_back(call);
    }
    void Log(const char* call, const wizard::Rect& r) {
        Log(call, r.left, r.top, r.right, r.bottom);
    }
};

}  // namespace wizard_test
