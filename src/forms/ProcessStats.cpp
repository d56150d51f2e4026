#include "ProcessStats.h"
#include <psapi.h>

namespace forms {

SIZE_T WorkingSetBytes() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof(c);
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof(c));
    return c.WorkingSetSize;
}

}  // namespace forms
