#include "app/program.h"
#include "platform/native_window_system.h"

int main(int argc, char** argv) {
  const auto windows = qs::CreateNativeWindowSystem();
  return qs::StartProgram(*windows, argc, argv);
}
