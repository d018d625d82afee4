#include "base/common_controls_win.h"

#include "base/system_library_win.h"

namespace {

CommonControls Load() {
  const SystemLibrary library(L"comctl32.dll");
  const CommonControls functions{
      SYSTEM_FUNCTION(library, InitCommonControlsEx), SYSTEM_FUNCTION(library, SetWindowSubclass),
      SYSTEM_FUNCTION(library, DefSubclassProc), SYSTEM_FUNCTION(library, RemoveWindowSubclass)};
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
  functions.InitCommonControlsEx(&classes);
  return functions;
}

}  // namespace

const CommonControls& CommonControlsLibrary() {
  static const CommonControls functions = Load();
  return functions;
}
