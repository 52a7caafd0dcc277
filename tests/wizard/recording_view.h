// A sheet window that records what the wizard's logic does to it, answers
// its questions from settings, and ends the process by throwing.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win_constants.h"
#include "wizard/property_dlg.h"
#include "wizard/sheet_view.h"

namespace wizard_test {

// Thrown by RecordingView::ExitProcess.
struct ProcessExit {
    int status;
};

struct LineState {
    std::string text;
    bool visible = true;
    bool pageFont = false;
    int invalidations = 0;
};

class RecordingView : public wizard::SheetView {
  public:
    // Settings. The sheet is the one whose page DefaultOnInitDialog creates.
    wizard::CPropertyDlg* sheet = nullptr;
    int createResult = 0;
    bool bannerLoads = true;
    int bannerWidth = 262;
    bool fontCreates = true;
    int tabBottom = 21;
    wizard::ColorRef windowTextColor = 0x000000;
    wizard::ColorRef activeBorderColor = 0xC8D0D4;

    // What the window shows.
    wizard::Rect window{100, 80, 449, 400};
    wizard::Rect client{0, 0, 343, 294};
    wizard::Rect page{7, 7, 334, 168};
    std::string title;
    bool tabsAtBottom = false;
    bool okVisible = true;
    std::string okCaption = "OK";
    std::map<int, LineState> lines{
        {wizard::kDriveLineId, {}}, {wizard::kModuleLineId, {}}, {wizard::kSupportLineId, {}}};
    std::string fontFace;
    int fontPointTenths = 0;
    int bannerBitmapId = 0;
    std::vector<std::pair<int, int>> bannerDrawnAt;
    // The calls that change the window, in order, by name.
    std::vector<std::string> calls;

    bool Called(const std::string& name) const {
        return std::find(calls.begin(), calls.end(), name) != calls.end();
    }
    const LineState& Line(int controlId) const { return lines.at(controlId); }

    int DefaultOnCreate() override { return Record("DefaultOnCreate", createResult); }
    bool DefaultOnInitDialog() override {
        calls.push_back("DefaultOnInitDialog");
        sheet->Page().OnInitDialog();
        return sheet->Page().OnSetActive();
    }
    wizard::Rect GetWindowRect() override { return window; }
    void MoveWindow(const wizard::Rect& rect) override { window = Record("MoveWindow", rect); }
    wizard::Rect GetClientRect() override { return client; }
    void SetWindowText(const std::string& text) override { title = text; }
    // Read before the tabs move; they end at the client's bottom afterwards.
    int FirstTabBottom() override { return tabsAtBottom ? client.bottom : tabBottom; }
    void SetTabsAtBottom() override { tabsAtBottom = true; }
    wizard::Rect GetPageRect() override { return page; }
    void MovePage(const wizard::Rect& rect) override { page = rect; }
    void SetActivePage() override {
        calls.push_back("SetActivePage");
        sheet->Page().OnSetActive();
    }
    void ShowOkButton(int command) override { okVisible = command != win::kSwHide; }
    void SetOkButtonText(const std::string& caption) override { okCaption = caption; }
    bool LoadBanner(int bitmapId) override {
        bannerBitmapId = bitmapId;
        return Record("LoadBanner", bannerLoads);
    }
    int BannerWidth() override { return bannerWidth; }
    void DrawBanner(int x, int y) override { bannerDrawnAt.emplace_back(x, y); }
    void SetLineText(int id, const std::string& text) override {
        lines.at(id).text = Record("SetLineText", text);
    }
    void ShowLine(int id, int command) override { lines.at(id).visible = command != win::kSwHide; }
    void InvalidateLine(int id) override { ++lines.at(id).invalidations; }
    bool CreatePageFont(int pointSizeTenths, const std::string& face) override {
        fontPointTenths = pointSizeTenths;
        fontFace = face;
        return fontCreates;
    }
    void SetLineFont(int id) override { lines.at(id).pageFont = true; }
    wizard::ColorRef GetSysColor(int index) override {
        return index == wizard::kColorWindowText ? windowTextColor : activeBorderColor;
    }
    [[noreturn]] void ExitProcess(int status) override {
        calls.push_back("ExitProcess");
        throw ProcessExit{status};
    }

  private:
    template <typename T>
    T Record(const char* name, T result) {
        calls.push_back(name);
        return result;
    }
};

}  // namespace wizard_test
