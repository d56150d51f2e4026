// What the monitor tests share: a clean registry key and system directory before and after,
// stored settings, and a window that plays the desktop's program manager.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <atomic>
#include <map>
#include <thread>
#include <string>

struct AppFixture : testing::Test {
    void SetUp() override;
    void TearDown() override;

    // Stores a complete set of settings; `overrides` replace single values.
    static void StoreSettings(std::map<std::string, int32_t> overrides = {});
    static bool StoredValue(const char* name, DWORD& value);
    // The stored number, or 0xFFFFFFFF when there is none.
    static DWORD Stored(const char* name);
    // The link's and the monitor's state (and its start-up waits) as the program starts with it.
    static void ResetMonitorState();
    static void ClearState();
};

// The width of an icon's picture; 0 for no icon.
int IconWidth(HICON icon);

// A top-level window of class "Progman" titled "Program Manager", as the desktop has, on a
// thread of its own with its own message loop (the real one belongs to the shell's process).
class FakeProgman {
public:
    FakeProgman();
    ~FakeProgman();
    HWND Handle() const { return wnd_; }
private:
    std::thread thread_;
    std::atomic<HWND> wnd_{nullptr};
};
