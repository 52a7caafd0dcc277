#include "terminal_sheet.h"

#include <cstdlib>
#include <iostream>
#include <utility>

#include "platform/hosted/printable_text.h"
#include "platform/win_constants.h"
#include "wizard/page_template.h"

namespace setup {

namespace {

// One character cell of the terminal stands for 8 by 16 pixels.
constexpr int kCellWidth = 8;
// The sheet without banner: 46 columns, the page 40 of them, 2 from the
// inside's left edge; the frame takes a column on either side.
constexpr int kSheetColumns = 46;
constexpr int kPageLeftColumn = 2;
constexpr int kPageColumns = 40;
constexpr int kTabBottom = 20;
// The banner bitmap: 262 by 189 pixels.
constexpr int kBannerWidth = 262;

constexpr char kPagePrompt[] = "Press i (Install) or c (Cancel) > ";

// The classic Windows colours of the window text and the active border.
constexpr wizard::ColorRef kWindowText = 0x000000;
constexpr wizard::ColorRef kActiveBorder = 0xC8D0D4;

}  // namespace

TerminalSheet::TerminalSheet(Console& console, MachineCommand machineCommand)
    : console_(console),
      machineCommand_(std::move(machineCommand)),
      window_{0, 0, kSheetColumns * kCellWidth, 224},
      page_{kPageLeftColumn * kCellWidth, 8, (kPageLeftColumn + kPageColumns) * kCellWidth, 120} {
    for (int id : wizard::kInstallPageLinesTopDown) {
        lines_[id] = Line{};
    }
}

int TerminalSheet::DoModal(wizard::CPropertyDlg& sheet) {
    sheet_ = &sheet;
    title_ = sheet.Caption();
    if (sheet.OnCreate() == -1) {
        return -1;
    }
    sheet.OnInitDialog();
    Paint();
    for (;;) {
        const std::optional<std::string> line = console_.ReadLine(kPagePrompt);
        const std::string command = line ? Console::Word(*line) : "c";
        if (command == "c" || command == "cancel") {
            console_.out() << "Cancel pressed: the sheet closes.\n";
            return 2;
        }
        if (command != "i" && command != "install") {
            if (!command.empty() && !machineCommand_(*line)) {
                console_.out() << "Type i to press Install, c to Cancel (or registry FILE...).\n";
            }
            continue;
        }
        if (!okVisible_) {
            console_.out() << "There is no Install button to press.\n";
            continue;
        }
        if (sheet.Page().OnApply()) {
            console_.out() << "The sheet closes.\n";
            return 1;
        }
        Paint();
    }
}

bool TerminalSheet::DefaultOnInitDialog() {
    sheet_->Page().OnInitDialog();
    return sheet_->Page().OnSetActive();
}

void TerminalSheet::SetActivePage() {
    sheet_->Page().OnSetActive();
}

wizard::Rect TerminalSheet::GetClientRect() {
    return {0, 0, window_.right - window_.left - 2 * kCellWidth,
            window_.bottom - window_.top - 2 * kCellWidth};
}

int TerminalSheet::FirstTabBottom() {
    return tabsAtBottom_ ? page_.bottom : kTabBottom;
}

void TerminalSheet::ShowOkButton(int showCommand) {
    okVisible_ = showCommand != win::kSwHide;
}

bool TerminalSheet::LoadBanner(int bitmapId) {
    bannerLoaded_ = bitmapId == wizard::kBannerBitmapId;
    return bannerLoaded_;
}

int TerminalSheet::BannerWidth() {
    return bannerLoaded_ ? kBannerWidth : 0;
}

void TerminalSheet::DrawBanner(int x, int) {
    bannerColumn_ = x / kCellWidth;
}

void TerminalSheet::SetLineText(int controlId, const std::string& text) {
    lines_.at(controlId).text = text;
}

void TerminalSheet::ShowLine(int controlId, int showCommand) {
    lines_.at(controlId).visible = showCommand != win::kSwHide;
}

void TerminalSheet::SetLineFont(int controlId) {
    lines_.at(controlId).pageFont = true;
}

wizard::ColorRef TerminalSheet::GetSysColor(int index) {
    return index == wizard::kColorWindowText ? kWindowText : kActiveBorder;
}

void TerminalSheet::ExitProcess(int status) {
    console_.out() << "The program ends.\n" << std::flush;
    std::exit(status);
}

void TerminalSheet::Paint() {
    bannerColumn_.reset();
    sheet_->OnPaint();
    console_.out() << '\n' << DrawSheet(Picture(), console_.colour()) << std::flush;
}

SheetPicture TerminalSheet::Picture() const {
    SheetPicture picture{hosted::PrintableText(title_),
                         (window_.right - window_.left) / kCellWidth,
                         page_.left / kCellWidth,
                         (page_.right - page_.left) / kCellWidth,
                         {},
                         wizard::kInstallPageCaption,
                         tabsAtBottom_,
                         bannerColumn_,
                         kBannerWidth / kCellWidth,
                         okVisible_,
                         okCaption_};
    for (int id : wizard::kInstallPageLinesTopDown) {
        const Line& line = lines_.at(id);
        picture.lines.push_back({hosted::PrintableText(line.text), line.visible, line.pageFont,
                                 sheet_->Page().Line(id)->CtlColor()});
    }
    return picture;
}

}  // namespace setup
