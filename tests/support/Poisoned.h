// Objects whose memory, once freed, is filled with a pattern and never handed out again: code
// that touches such an object after its free reads garbage (and crashes) or spoils the pattern.
#pragma once
#include <cstddef>

namespace testsupport {

void* PoisonedAllocate(size_t size);
void PoisonedFree(void* p, size_t size);  // fills with the pattern, keeps the memory
size_t PoisonedFreeCount();
// Whether some object was freed, every freed one still holds the pattern, and nothing faulted.
bool FreedObjectsUntouched();

template <typename T>
class Poisoned : public T {
public:
    using T::T;
    static void* operator new(size_t n) { return PoisonedAllocate(n); }
    static void operator delete(void* p, size_t n) { PoisonedFree(p, n); }
};

}  // namespace testsupport
