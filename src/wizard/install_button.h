// The sheet's Install button as the install page reaches it: the page shows
// it only while the installer holds modules for the drive found.
#pragma once

namespace wizard {

class InstallButton {
  public:
    // Shows or hides the button: win::kSwHide or win::kSwShowNormal.
    virtual void ShowInstallButton(int showCommand) = 0;

  protected:
    ~InstallButton() = default;
};

}  // namespace wizard
