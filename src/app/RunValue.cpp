#include "RunValue.h"
#include "forms/Registry.h"

namespace thermowl {

using forms::TRegistry;

const char* const RunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "Thermowl";
const char* const ProbeKey = "\\Software\\Thermowl";

bool RunValueExists() {
    TRegistry reg(HKEY_LOCAL_MACHINE, KEY_READ);
    return reg.OpenKeyReadOnly(RunKey) && reg.ValueExists(RunValueName);
}

bool MachineKeysWritable() {
    TRegistry reg(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS);
    try {
        reg.CreateKey(ProbeKey);
    } catch (const forms::ERegistryException&) {
        return false;
    }
    reg.DeleteKey(ProbeKey);
    return true;
}

std::string RunCommand(const std::string& programDir) { return "\"" + programDir + "thermowl.exe\""; }

void StoreRunValue(bool wanted, const std::string& programDir) {
    TRegistry reg(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS);
    // A missing key is not made: writing then fails, deleting has nothing to do.
    reg.OpenKey(RunKey, false);
    if (!wanted) {
        reg.DeleteValue(RunValueName);
        return;
    }
    if (!reg.ValueExists(RunValueName)) reg.WriteString(RunValueName, RunCommand(programDir));
}

}  // namespace thermowl
