#include "Poisoned.h"
#include <windows.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace testsupport {

namespace {
constexpr unsigned char Pattern = 0xDD;
std::vector<std::pair<unsigned char*, size_t>>& Freed() {
    static std::vector<std::pair<unsigned char*, size_t>> blocks;
    return blocks;
}

// Touching a freed object may fault inside a system callback that swallows the fault (focus
// messages, for one): each access violation is counted whether or not someone catches it.
std::atomic<long> accessViolations{0};
LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++accessViolations;
    return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

void* PoisonedAllocate(size_t size) {
    static const PVOID watch = AddVectoredExceptionHandler(1, CountAccessViolation);
    (void)watch;
    void* p = std::malloc(size);
    if (!p) throw std::bad_alloc();
    return p;
}

void PoisonedFree(void* p, size_t size) {
    memset(p, Pattern, size);
    Freed().emplace_back(static_cast<unsigned char*>(p), size);
}

size_t PoisonedFreeCount() { return Freed().size(); }

bool FreedObjectsUntouched() {
    if (accessViolations) return false;
    for (auto& [p, n] : Freed())
        for (size_t i = 0; i < n; ++i)
            if (p[i] != Pattern) return false;
    return !Freed().empty();
}

}  // namespace testsupport
