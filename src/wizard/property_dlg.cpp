#include "wizard/property_dlg.h"

#include <utility>

#include "detect/detect.h"
#include "detect/platform_test.h"

namespace wizard {

namespace {

constexpr char kRunFromDesktop[] =
    "Please run this application from DESKTOP folder. \r\nIf still does not work contact "
    "Norvask";
constexpr char kSeveralDriveGroups[] =
    "More than one Suported Rovane detected under Windows.\r\nPlease unplug one and restart "
    "the application!";

constexpr int kBannerGap = 3;
constexpr int kBannerTop = 6;

bool IsMixOfGroups(int mix) {
    return mix > detect::kMixThird && mix <= detect::kMixAll;
}

bool HasOneGroupWithBanner(int mix) {
    return mix == detect::kMixKestrel || mix == detect::kMixOrca;
}

}  // namespace

CPropertyDlg::CPropertyDlg(platform::Platform& os, SheetView& view, std::string caption)
    : os_(os),
      view_(view),
      caption_(std::move(caption)),
      page_(*this, store_, os, view),
      store_(os, ReadInstallerPath(), store::kTrailerLength) {}

std::string CPropertyDlg::ReadInstallerPath() {
    // Room for the current directory's length and a full path beside it.
    const std::uint32_t currentLength = os_.system.GetCurrentDirectoryA(0, nullptr);
    std::string buffer(currentLength + win::kMaxPath + 1, '\0');
    if (os_.system.GetModuleFileNameA(buffer.data(), currentLength + win::kMaxPath) == 0) {
        os_.ui.AfxMessageBox(kRunFromDesktop, win::kMbOk);
        view_.ExitProcess(0);
    }
    // The last byte is never written: the path always ends at a terminator.
    buffer.erase(buffer.find('\0'));
    return buffer;
}

int CPropertyDlg::OnCreate() {
    driveMix_ = detect::CountSupportedDrives(os_, detect::IsNtPlatform(os_.system));
    if (IsMixOfGroups(driveMix_)) {
        os_.ui.AfxMessageBox(kSeveralDriveGroups, win::kMbOk);
        view_.ExitProcess(0);
    }
    if (view_.DefaultOnCreate() == -1) {
        return -1;
    }
    Rect window = view_.GetWindowRect();
    // The banner is decided once, from the mix counted at start.
    if (!bannerLoaded_ && HasOneGroupWithBanner(driveMix_)) {
        bannerLoaded_ = view_.LoadBanner(kBannerBitmapId);
        if (bannerLoaded_) {
            window.right += view_.BannerWidth() + kBannerGap;
        }
    }
    view_.MoveWindow(window);
    return 0;
}

bool CPropertyDlg::OnInitDialog() {
    const bool result = view_.DefaultOnInitDialog();
    const int tabBottom = view_.FirstTabBottom();
    view_.SetTabsAtBottom();
    view_.SetWindowText(kSheetTitle);
    Rect page = view_.GetPageRect();
    page.bottom += 2 * tabBottom;
    view_.MovePage(page);
    // The page, the only one, is active already: this refreshes it again.
    view_.SetActivePage();
    return result;
}

void CPropertyDlg::OnPaint() {
    view_.SetOkButtonText(kInstallButtonCaption);
    if (bannerLoaded_) {
        // Right of the page, as far from it as the page is from the left edge.
        const Rect client = view_.GetClientRect();
        const Rect page = view_.GetPageRect();
        view_.DrawBanner(page.left + page.right, client.top + kBannerTop);
    }
}

void CPropertyDlg::ShowInstallButton(int showCommand) {
    view_.ShowOkButton(showCommand);
}

}  // namespace wizard
