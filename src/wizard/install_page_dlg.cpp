#include "wizard/install_page_dlg.h"

#include <cstring>
#include <string>

#include "detect/detect.h"
#include "fileops/error_text.h"
#include "fileops/guarded_delete.h"
#include "store/module_tags.h"

namespace wizard {

namespace {

constexpr char kPageFontFace[] = "Comic Sans MS";
constexpr int kPageFontPointTenths = 120;

constexpr char kProductName[] = "Stashwell ver 1.1";
constexpr char kReadyToInstall[] = "Ready to INSTALL!";
constexpr char kNoDrive[] = "No flash drive detected.";
constexpr char kInsertDrive[] = "Please insert Rovane Slim or Prism";

constexpr char kNoDriveInformation[] = "Unable to get Rovane Information!";
constexpr char kDriveChanged[] =
    "The Rovane has been changed!. Please restart the application!\r\nGood Bye!";
constexpr char kInstallationFailed[] = "Unable To Continue Installation!\r\nGood Bye!";
constexpr char kInstallationComplete[] =
    "Thank you for using Norvask product!\r\nInstallation Complete!";
constexpr char kOverwriteCaption[] = "Overwrite";

// The module tag of a variant that detection reports with a letter.
const char* TagOfVariant(int variant) {
    return variant == detect::kVariantOrca ? store::kOrcaTag : store::kKestrelTag;
}

std::string FieldText(const char* field) {
    return std::string(field, strnlen(field, store::kPathFieldWidth));
}

// "%c:\%s": a folder on the drive.
std::string DriveFolder(std::uint8_t letter, const std::string& extractPath) {
    return std::string(1, static_cast<char>(letter)) + ":\\" + extractPath;
}

// "%c:\%s\%s", or "%c:\%s" for a module that goes into the drive's root.
std::string TargetPath(std::uint8_t letter, const store::ModuleHeader& record) {
    const std::string extractPath = FieldText(record.extractPath);
    const std::string fileName = FieldText(record.fileName);
    if (extractPath.empty()) {
        return DriveFolder(letter, fileName);
    }
    return DriveFolder(letter, extractPath) + "\\" + fileName;
}

}  // namespace

CInstallPageDlg::CInstallPageDlg(InstallButton& installButton, store::ModuleStore& store,
                                 platform::Platform& os, SheetView& view)
    : installButton_(installButton),
      store_(store),
      os_(os),
      view_(view),
      driveLine_(view, kDriveLineId),
      supportLine_(view, kSupportLineId),
      moduleLine_(view, kModuleLineId) {}

bool CInstallPageDlg::OnInitDialog() {
    if (view_.CreatePageFont(kPageFontPointTenths, kPageFontFace)) {
        driveLine_.SetPageFont();
        supportLine_.SetPageFont();
        moduleLine_.SetPageFont();
    }
    return true;
}

bool CInstallPageDlg::OnSetActive() {
    RefreshDriveState();
    return true;
}

int CInstallPageDlg::RefreshDriveState() {
    variant_ = detect::kVariantNone;
    installButton_.ShowInstallButton(win::kSwHide);
    driveLetter_ = detect::DetectSupportedDrive(os_, variant_);
    if (driveLetter_ != 0 && variant_ != detect::kVariantNone) {
        driveLine_.SetWindowText(std::string("Rovane found: [") + static_cast<char>(driveLetter_) +
                                 "] drive");
        supportLine_.ShowWindow(win::kSwShowNormal);
        moduleLine_.ShowWindow(win::kSwShowNormal);
        supportLine_.SetWindowText("");
        moduleLine_.SetWindowText("");
        moduleLine_.SetWindowText(std::string(kProductName) + " is NOT included!");
        // Only a module found makes the installer ready: a walk that failed
        // says nothing of what the store holds.
        if (store_.FindModule(TagOfVariant(variant_), nullptr, true, nullptr, 0) > 0) {
            moduleLine_.SetWindowText(kReadyToInstall);
            installButton_.ShowInstallButton(win::kSwShowNormal);
        }
    } else {
        driveLine_.SetWindowText(kNoDrive);
        moduleLine_.SetWindowText(kInsertDrive);
        supportLine_.ShowWindow(win::kSwHide);
    }
    return 1;
}

bool CInstallPageDlg::OnApply() {
    int newVariant = detect::kVariantNone;
    if (detect::DetectSupportedDrive(os_, newVariant) == 0) {
        RefreshDriveState();
        os_.ui.AfxMessageBox(kNoDriveInformation, win::kMbOk);
        return false;
    }
    // Only the variant must stay: the copies go to the letter of the last
    // refresh.
    if (newVariant != variant_) {
        os_.ui.AfxMessageBox(kDriveChanged, win::kMbOk);
        view_.ExitProcess(0);
    }
    if (!InstallModules()) {
        // The sheet stays open with what was copied so far.
        os_.ui.AfxMessageBox(kInstallationFailed, win::kMbOk);
        return false;
    }
    os_.ui.AfxMessageBox(kInstallationComplete, win::kMbOk);
    return true;
}

bool CInstallPageDlg::InstallModules() {
    bool handled = false;
    std::uint32_t startOffset = 0;
    for (;;) {
        store::ModuleHeader record{};
        std::int32_t payloadOffset = 0;
        const std::int32_t found =
            store_.FindModule(TagOfVariant(variant_), &payloadOffset, true, &record, startOffset);
        if (found == 0) {
            return handled;
        }
        if (found < 0 || !InstallModule(record, payloadOffset)) {
            return false;
        }
        handled = true;
        startOffset = static_cast<std::uint32_t>(found);
    }
}

bool CInstallPageDlg::InstallModule(const store::ModuleHeader& record, std::int32_t payloadOffset) {
    const std::string folder = DriveFolder(driveLetter_, FieldText(record.extractPath));
    if (!os_.files.PathIsDirectoryA(folder) && store_.CreateDirectoryPath(folder) == 0) {
        return false;
    }
    const std::string target = TargetPath(driveLetter_, record);
    if (CanOpenForReading(target)) {
        const int answer =
            os_.ui.MessageBoxA(target + " \r\nalready exist!  Delete this file before Installing?",
                               kOverwriteCaption, win::kMbYesNo | win::kMbIconQuestion);
        if (answer == win::kIdNo) {
            return true;
        }
        if (fileops::DeleteFileOrDirectory(os_, target, 1) == 0) {
            os_.ui.AfxMessageBox("Unable to delete file: " + target +
                                     " \r\nError: " + fileops::GetLastErrorText(os_.system),
                                 win::kMbOk);
            return false;
        }
    }
    return store_.ExtractModule(target, payloadOffset, record.payloadSize, record.attributes) != 0;
}

// CFile::Open with modeRead, which shares the file with no other opener: a
// target that another program holds open counts as not there.
bool CInstallPageDlg::CanOpenForReading(const std::string& path) {
    std::uint64_t length = 0;
    return os_.files.GetFileLength(path, length);
}

const CColorStatic* CInstallPageDlg::Line(int controlId) const {
    for (const CColorStatic* line : {&driveLine_, &supportLine_, &moduleLine_}) {
        if (line->ControlId() == controlId) {
            return line;
        }
    }
    return nullptr;
}

}  // namespace wizard
