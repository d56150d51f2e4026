// Entry point of every test executable.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdio>

namespace {
// A crash ends the run at once with a line naming the test, instead of waiting for a debugger.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    fprintf(stderr, "\ncrashed (exception %08lx) in %s.%s\n", e->ExceptionRecord->ExceptionCode,
            test ? test->test_suite_name() : "?", test ? test->name() : "?");
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(ReportCrash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
