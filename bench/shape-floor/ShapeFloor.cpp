// The floor of a monitor update with the monitor's own pixels. `thermowl.exe --draw` draws the
// real monitor, fed the outside measure's eight drives (each between two temperatures) with the
// measure's settings, twice, one reading apart, and keeps both pictures beside the program
// (frame-1.bmp, frame-2.bmp). Run plainly, it is a bare window of the monitor's size, colour key
// and opacity that, on each reply of the service, reads the 280-byte table and shows the other
// picture with one BitBlt. Measured from outside like the monitor (bench/shape-floor/measure),
// it tells what putting these pixels on the screen once per reply costs, whatever draws them:
// under Wine each change of a colour-keyed window's shape is paid twice, at the flush after the
// paint and at the Expose the grown shape brings.
#include "../BenchMonitor.h"
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Platform.h"
#include <array>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

using namespace thermowl;

namespace {

constexpr UINT ReqInfo = WM_USER + 1, RecInfo = WM_USER + 3;
DWORD serviceThread = 0;
std::array<std::unique_ptr<forms::TBitmap>, 2> pictures;
int shown = 0;

// The measure's stand-in service: D1=41:42 ... D8=37:36, each drive at its first or second value.
void WriteTable(const std::string& path, int step) {
    const int values[8][2] = {{41, 42}, {43, 44}, {45, 46}, {47, 48}, {49, 50}, {51, 40}, {39, 38}, {37, 36}};
    std::array<uint8_t, 280> table{};
    for (int d = 0; d < 8; ++d) {
        uint8_t* record = table.data() + 35 * d;
        record[0] = 2;
        record[1] = 'D';
        record[2] = static_cast<uint8_t>('1' + d);
        record[34] = static_cast<uint8_t>(values[d][step % 2]);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(table.data()), table.size());
}

std::string BesideProgram(const char* name) {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

// A 32-bit .bmp of the picture, its rows bottom-up as every reader takes them.
bool Save(forms::TBitmap& picture, const std::string& path) {
    GdiFlush();
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.Width();
    info.biHeight = picture.Height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bits = DWORD(picture.Width()) * DWORD(picture.Height()) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bits;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = picture.Height() - 1; y >= 0; --y)
        out.write(reinterpret_cast<const char*>(picture.Bits() + size_t(y) * picture.Width()), picture.Width() * 4);
    return bool(out);
}

// The monitor after 120 readings and after one more, the chart full of the last 100, saved.
bool DrawMonitorTwice() {
    std::string table;
    auto* monitor = NewBenchMonitor("thermowl-shape-floor", table);
    Settings.TextColor = 33023;
    Settings.DelColor = 0;
    Settings.AxisColor = 10485760;
    monitor->SetAxisColor(Settings.AxisColor);
    WriteTable(table, 0);
    PanelReady = false;
    TakeReply(MaxDrives);
    monitor->SetBounds(0, 0, 1, 1);
    monitor->CreateIcons();
    monitor->StartHistory();
    PanelReady = true;
    monitor->Show();
    for (int step = 1; step <= 121; ++step) {
        WriteTable(table, step);
        TakeReply(MaxDrives);
        monitor->ShowInfo();
        if (step < 120) continue;
        RedrawWindow(monitor->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client;
        GetClientRect(monitor->Handle(), &client);
        forms::TBitmap picture(client.right, client.bottom);
        HDC window = GetDC(monitor->Handle());
        BitBlt(picture.Canvas().Handle(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        ReleaseDC(monitor->Handle(), window);
        if (!Save(picture, BesideProgram(step == 120 ? "frame-1.bmp" : "frame-2.bmp"))) return false;
    }
    DeleteFileA(table.c_str());
    RemoveDirectoryA(SystemDir.c_str());
    delete monitor;
    return true;
}

DWORD Setting(const char* name, DWORD fallback) {
    HKEY key;
    DWORD value = fallback, size = sizeof value;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
    }
    return value;
}

std::string SystemFile(const char* name) {
    char dir[MAX_PATH] = {0};
    GetSystemDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\" + name;
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case RecInfo: {
            HANDLE file = CreateFileA(SystemFile("hdinfo.dat").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                uint8_t table[280];
                DWORD got = 0;
                ReadFile(file, table, sizeof table, &got, nullptr);
                CloseHandle(file);
            }
            shown ^= 1;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        case WM_TIMER:
            PostThreadMessageA(serviceThread, ReqInfo, 0, reinterpret_cast<LPARAM>(window));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            forms::TBitmap& p = *pictures[size_t(shown)];
            BitBlt(dc, 0, 0, p.Width(), p.Height(), p.Canvas().Handle(), 0, 0, SRCCOPY);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    forms::Application->Initialize();
    if (argc > 1 && std::strcmp(argv[1], "--draw") == 0) return DrawMonitorTwice() ? 0 : 1;
    for (int i = 0; i < 2; ++i) {
        pictures[size_t(i)] = std::make_unique<forms::TBitmap>();
        if (!pictures[size_t(i)]->LoadFromFile(BesideProgram(i ? "frame-2.bmp" : "frame-1.bmp"))) return 2;
    }

    HANDLE id = CreateFileA(SystemFile("hsid.dat").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (id == INVALID_HANDLE_VALUE) return 1;
    DWORD got = 0;
    ReadFile(id, &serviceThread, sizeof serviceThread, &got, nullptr);
    CloseHandle(id);

    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TShapeFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, "Thermowl", WS_POPUP,
                                  static_cast<int>(Setting("PosX", 0)), static_cast<int>(Setting("PosY", 10)),
                                  pictures[0]->Width(), pictures[0]->Height(), nullptr, nullptr, wc.hInstance, nullptr);
    SetLayeredWindowAttributes(window, RGB(128, 0, 128), static_cast<BYTE>(Setting("Alpha", 170)), LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    PostThreadMessageA(serviceThread, ReqInfo, 0, reinterpret_cast<LPARAM>(window));
    SetTimer(window, 1, Setting("RefreshTime", 30) * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
