#include "app/program.h"

#include "app/frmMain.h"
#include "app/modMain.h"
#include "app/product.h"
#include "platform/application.h"

namespace qs {

int RunProgram(WindowSystem& windows, const std::string& arguments, const RunOverrides& overrides,
               const WindowlessWork& work) {
  Application app(windows);
  app.SetTitle(kProductName);
  frmMain main(app);
  app.SetMainForm(&main);
  try {
    modMain(app, main).Main(arguments, overrides, work);
    windows.Run(app, main);
  } catch (const EndProgram& end) {
    return end.status;
  }
  return windows.EndStatus(app.FailureShown());
}

}  // namespace qs
