#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace qs {

// The About box: the product, its version and its maker.
class frmAbout : public Form {
 public:
  explicit frmAbout(Application& app);

  Label& lblProduct;
  Label& lblVersion;
  Label& lblCopyright;
  CommandButton& cmdOK;
};

}  // namespace qs
