// Start with Windows: the value "Thermowl" under the machine's Run key, and whether this user
// may change it.
#pragma once
#include <string>

namespace thermowl {

extern const char* const RunKey;        // "\Software\Microsoft\Windows\CurrentVersion\Run"
extern const char* const RunValueName;  // "Thermowl"
extern const char* const ProbeKey;      // "\Software\Thermowl"

// Whether the Run value exists (any data); the key is opened read-only.
bool RunValueExists();

// Whether this user may write the machine-wide registry: a probe key under HKEY_LOCAL_MACHINE
// is created and deleted again. No error is shown.
bool MachineKeysWritable();

// The command the Run value holds: the program's path in double quotes, so that a folder with
// spaces in its name cannot start another program.
std::string RunCommand(const std::string& programDir);

// Writes the Run value when `wanted` and there is none (an existing one is left as it is,
// whatever it holds), deletes it when not wanted. A failed write raises ERegistryException
// ("Failed to set data for 'Thermowl'").
void StoreRunValue(bool wanted, const std::string& programDir);

}  // namespace thermowl
