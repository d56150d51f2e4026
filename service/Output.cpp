#include "Output.h"

#include <windows.h>

#include <cstdio>
#include <set>

namespace service {
namespace {

bool g_silent = false;
std::set<std::string> g_told;

bool HasHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void SilenceOutput() { g_silent = true; }

void UseParentConsole() {
    const bool output = HasHandle(STD_OUTPUT_HANDLE), errors = HasHandle(STD_ERROR_HANDLE);
    if ((output && errors) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // Streams that had no handle at start-up are reopened on the console just attached.
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!errors)
        std::freopen("CONOUT$", "w", stderr);
}

void PrintNote(const std::string& text) {
    if (g_silent)
        return;
    std::fprintf(stdout, "%s\n", text.c_str());
    std::fflush(stdout); // a file or pipe is fully buffered; a reader should see the line now
}

void PrintNoteOnce(const std::string& text) {
    if (g_told.insert(text).second)
        PrintNote(text);
}

void PrintError(const std::string& text) {
    if (g_silent)
        return;
    std::fprintf(stderr, "thermowl-service: %s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace service
