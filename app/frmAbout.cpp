#include "app/frmAbout.h"

#include <string>

#include "app/product.h"

namespace qs {

frmAbout::frmAbout(Application& app)
    : Form(app, "frmAbout", std::string("About ") + kProductName, 4200, 2040),
      lblProduct(Add<Label>("lblProduct", kProductName)),
      lblVersion(Add<Label>("lblVersion", std::string("Version ") + ProductVersion())),
      lblCopyright(Add<Label>("lblCopyright", std::string("\xC2\xA9 ") + kProductMaker)),
      cmdOK(Add<CommandButton>("cmdOK", "OK")) {
  lblProduct.Move(240, 240, 3720, 315);
  lblProduct.SetFont({"MS Sans Serif", 12});
  lblVersion.Move(240, 660, 3720, 255);
  lblCopyright.Move(240, 960, 3720, 255);
  cmdOK.Move(2985, 1440, 975, 375);
  cmdOK.SetTabIndex(0);
  cmdOK.SetDefault(true);
  cmdOK.SetCancel(true);
  cmdOK.onClick = [this] { Unload(); };
}

}  // namespace qs
