#include "CommonControls.h"
#include <windows.h>
#include <commctrl.h>

namespace forms {

void InitCommonControlClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

}  // namespace forms
