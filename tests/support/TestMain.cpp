// Entry point of every test executable.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    // Under Wine a test process now and then never finishes its orderly exit (library detach at
    // process end); every result is out by now, so end the process directly.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
