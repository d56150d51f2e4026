// What leak checks read of the process: its working set (Wine answers 0 for the GUI-object and
// private-usage counters, so those cannot be the check).
#pragma once
#include <windows.h>

namespace forms {

SIZE_T WorkingSetBytes();

}  // namespace forms
