// The service link and the monitor's start-up, in-process, against a service on a thread.
#include "FakeService.h"
#include "LinkFixture.h"
#include "forms/Registry.h"
#include <thread>

using namespace thermowl;
using namespace testsupport;

// --- the service id file ----------------------------------------------------------------------

TEST_F(Link, AServiceFileShorterThanFourBytesNamesNoService) {
    WriteFileBytes(SystemFilePath("hsid.dat"), {1, 2, 3});
    EXPECT_EQ(ReadServiceIdFile(), 0u);
}

TEST_F(Link, OnlyTheFirstFourBytesAreTheId) {
    WriteFileBytes(SystemFilePath("hsid.dat"), {0x78, 0x56, 0x34, 0x12, 9, 9});
    EXPECT_EQ(ReadServiceIdFile(), 0x12345678u);
}

// --- replies --------------------------------------------------------------------------------

TEST_F(Link, AReplyReadsTheTableAndCapsTheCountAtEight) {
    std::vector<FakeService::Drive> drives(8, {"D", 30});
    WriteTable(EncodeTable(drives));
    PanelReady = true;
    ReplyOutcome r = TakeReply(12);
    EXPECT_TRUE(r.read && r.show);
    EXPECT_EQ(DriveCount, 8);
    EXPECT_TRUE(ReplyReceived);
}

TEST_F(Link, ZeroDrivesReadsNothing) {
    WriteTable(EncodeTable({{"X", 50}}));
    ReplyOutcome r = TakeReply(0);
    EXPECT_FALSE(r.read);
    EXPECT_EQ(DriveCount, 0);
    EXPECT_EQ(DriveTable[0].Temperature, 0);
}

TEST_F(Link, AMissingTableKeepsThePreviousOneAndTheCountStaysWithinTheTables) {
    DriveTable[0].Temperature = 33;
    ReplyOutcome r = TakeReply(255);
    EXPECT_FALSE(r.read);
    EXPECT_EQ(DriveCount, 8);  // never above the 8-entry tables, even without a file
    EXPECT_EQ(DriveTable[0].Temperature, 33);
}

TEST_F(Link, ALockedTableIsNotRead) {
    WriteTable(EncodeTable({{"X", 50}}));
    HANDLE locked = CreateFileA(SystemFilePath("hdinfo.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    ReplyOutcome r = TakeReply(1);
    CloseHandle(locked);
    EXPECT_FALSE(r.read);
    EXPECT_EQ(DriveTable[0].Temperature, 0);
}

TEST_F(Link, AShortTableReplacesOnlyItsStart) {
    WriteTable(EncodeTable({{"A", 10}, {"B", 20}}));
    TakeReply(2);
    WriteTable(EncodeTable({{"C", 30}}));
    TakeReply(2);
    EXPECT_EQ(DriveName(DriveTable[0]), "C");
    EXPECT_EQ(DriveTable[0].Temperature, 30);
    EXPECT_EQ(DriveName(DriveTable[1]), "B");  // kept from the earlier reply
}

TEST_F(Link, ALongerFileIsReadOnlyToTheTablesEnd) {
    auto bytes = EncodeTable(std::vector<FakeService::Drive>(8, {"Z", 44}));
    bytes.resize(400, 0xEE);
    WriteTable(bytes);
    // What lies in memory after the table (other program data) must come out as it went in;
    // the flags the reply sets are set beforehand, so only a read past the table changes it.
    ReplyReceived = true;
    DriveCount = 8;
    constexpr size_t beyond = 120;
    // Taken as an address, so that the compiler lets the test look past the array.
    const auto* after = reinterpret_cast<const unsigned char*>(reinterpret_cast<uintptr_t>(DriveTable) + sizeof(DriveTable));
    std::vector<unsigned char> before(after, after + beyond);
    TakeReply(8);
    EXPECT_EQ(DriveTable[7].Temperature, 44);
    EXPECT_EQ(std::vector<unsigned char>(after, after + beyond), before) << "read past the table";
}

TEST_F(Link, TheTableIsReadByteForByteAsTheServiceWritesIt) {
    // Written by hand, not with the monitor's own record: length, 32 name bytes, one byte not
    // read, temperature; the second record starts at byte 35.
    std::vector<uint8_t> bytes(70, 0);
    const char* names[] = {"ST31000528AS", "HDS721010"};
    const uint8_t temps[] = {47, 52};
    for (int i = 0; i < 2; ++i) {
        uint8_t* r = bytes.data() + 35 * i;
        r[0] = static_cast<uint8_t>(strlen(names[i]));
        memcpy(r + 1, names[i], strlen(names[i]));
        r[33] = 0x99;
        r[34] = temps[i];
    }
    WriteTable(bytes);
    TakeReply(2);
    EXPECT_EQ(DriveName(DriveTable[0]), "ST31000528AS");
    EXPECT_EQ(DriveTable[0].Temperature, 47);
    EXPECT_EQ(DriveName(DriveTable[1]), "HDS721010");
    EXPECT_EQ(DriveTable[1].Temperature, 52);
}

TEST_F(Link, NameLengthAbove32IsTakenAs32AndTemperature255Stays) {
    WriteTable(EncodeTable({{std::string(32, 'N'), 255, 40}}));
    TakeReply(1);
    EXPECT_EQ(DriveName(DriveTable[0]), std::string(32, 'N'));
    EXPECT_EQ(DriveTable[0].Temperature, 255);
}

// --- start-up ---------------------------------------------------------------------------------

TEST_F(Link, StartUpWithAServiceShowsNoMessageAndPolls) {
    FakeService service;
    StoreSettings({{"RefreshTime", 7}});
    auto monitor = StartMonitor();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ServiceThreadId, service.ThreadId());
    EXPECT_EQ(DriveCount, 2);
    EXPECT_TRUE(PanelReady);
    EXPECT_EQ(DriveName(DriveTable[1]), "ST3500418AS");
    EXPECT_TRUE(monitor->Timer1->Enabled());
    EXPECT_EQ(monitor->Timer1->Interval(), 7000u);
    EXPECT_FALSE(monitor->Timer2->Enabled());
    EXPECT_EQ(service.requests, 1);
    EXPECT_EQ(monitor->Caption(), "Thermowl");
    // "clear.scf" from the (empty) program folder, twice, hidden.
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].a, "open");
    EXPECT_EQ(shell[0].b, "clear.scf");
    EXPECT_EQ(shell[1].flags, UINT(SW_HIDE));
    // Polling asks again with the monitor window as the answer's address.
    monitor->Timer1Timer(nullptr);
    EXPECT_TRUE(WaitUntil([&] { return service.requests == 2; }));
}

TEST_F(Link, ClearScfIsOpenedFromTheInstallationFolder) {
    {
        forms::TRegistry reg(HKEY_LOCAL_MACHINE);
        reg.OpenKey("\\Software\\Vantrell\\Thermowl", true);
        reg.WriteString("PATH", "C:\\Program Files\\Thermowl\\");
    }
    FakeService service;
    auto monitor = StartMonitor();
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].b, "C:\\Program Files\\Thermowl\\clear.scf");
}

TEST_F(Link, AnInstallationPathThatIsNotTextEndsTheProgram) {
    HKEY k;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vantrell\\Thermowl", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    DWORD v = 5;
    RegSetValueExA(k, "PATH", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4);
    RegCloseKey(k);
    FakeService service;
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Invalid data type for 'PATH'");
    EXPECT_EQ(ServiceThreadId, 0u);
    EXPECT_EQ(service.requests, 0);
}

TEST_F(Link, NoAnswerWithinFiveSecondsEndsWithTheMessage) {
    FakeService service;
    service.answer = false;
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Service is not started!\r\nPlease reinstall application.");
    EXPECT_EQ(boxes[0].b, "Thermowl");
    EXPECT_EQ(ServiceThreadId, 0u);
    EXPECT_FALSE(monitor->Timer1->Enabled());
    EXPECT_FALSE(PanelReady);
}

TEST_F(Link, AServiceFileLeftByAnEarlierRunEndsWithTheMessage) {
    // The id of a thread that has ended: the request goes nowhere and the wait times out.
    DWORD dead = 0;
    std::thread([&] { dead = GetCurrentThreadId(); }).join();
    WriteFileBytes(SystemFilePath("hsid.dat"), std::vector<uint8_t>(reinterpret_cast<uint8_t*>(&dead),
                                                                      reinterpret_cast<uint8_t*>(&dead) + 4));
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Service is not started!\r\nPlease reinstall application.");
    EXPECT_EQ(ServiceThreadId, 0u);
}

TEST_F(Link, ZeroDrivesAtStartEndsWithTheMessage) {
    FakeService service;
    service.drives.clear();
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(ServiceThreadId, 0u);
}

TEST_F(Link, A255ReplyWithoutATableAtStartCountsAsNoReply) {
    FakeService service;
    service.count = 255;
    service.writeFile = false;
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(ServiceThreadId, 0u);
}

TEST_F(Link, APositiveCountWithoutATableBuildsFromTheEmptyTable) {
    FakeService service;
    service.count = 3;
    service.writeFile = false;
    auto monitor = StartMonitor();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DriveCount, 3);
    EXPECT_EQ(DriveTable[0].NameLength, 0);
    EXPECT_TRUE(PanelReady);
}

TEST_F(Link, EveryReplyIsTakenAlsoUnaskedOrTwice) {
    FakeService service;
    auto monitor = StartMonitor();
    WriteTable(EncodeTable({{"A", 50}, {"B", 51}}));
    PostMessageA(monitor->Handle(), RecInfoMsg, 2, 0);
    forms::Application->ProcessMessages();
    EXPECT_EQ(DriveTable[0].Temperature, 50);
    WriteTable(EncodeTable({{"A", 52}, {"B", 53}}));
    PostMessageA(monitor->Handle(), RecInfoMsg, 2, 0);
    forms::Application->ProcessMessages();
    EXPECT_EQ(DriveTable[1].Temperature, 53);
}

TEST_F(Link, ABrokenSettingReportsAndStopsTheStartUp) {
    StoreSettings();
    {
        forms::TRegistry reg;
        reg.OpenKey("\\Software\\Vantrell\\Thermowl\\Conf", false);
        reg.DeleteValue("Devices");
    }
    FakeService service;
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Failed to get data for 'Devices'");
    EXPECT_EQ(service.requests, 0);
    EXPECT_FALSE(monitor->Timer1->Enabled());
    EXPECT_NE(ServiceThreadId, 0u);  // the program goes on running, without polling
}

TEST_F(Link, HiddenMonitorWithoutTrayTurnsTheTrayOn) {
    StoreSettings({{"Show", 0}, {"Tray", 0}});
    FakeService service;
    auto monitor = StartMonitor();
    EXPECT_TRUE(Settings.Tray);
    EXPECT_EQ(monitor->WindowState(), forms::wsMinimized);
}

TEST_F(Link, PlacementModes) {
    FakeService service;
    {
        StoreSettings({{"Pos", 1}, {"PosX", 50}, {"PosY", 60}, {"Alpha", 99}});
        auto monitor = StartMonitor();
        EXPECT_TRUE(GetWindowLongPtrA(monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(monitor->Left(), 50);
        EXPECT_EQ(monitor->Top(), 60);
        COLORREF key;
        BYTE alpha;
        DWORD flags;
        ASSERT_TRUE(monitor->LayeredAttributes(key, alpha, flags));
        EXPECT_EQ(alpha, 99);
        EXPECT_EQ(key, RGB(128, 0, 128));
    }
    {
        FakeProgman desktop;
        StoreSettings({{"Pos", 2}});
        auto monitor = StartMonitor();
        EXPECT_EQ(DesktopHost, desktop.Handle());
        EXPECT_EQ(GetAncestor(monitor->Handle(), GA_PARENT), desktop.Handle());
        EXPECT_FALSE(GetWindowLongPtrA(monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    {
        StoreSettings({{"Pos", 3}});
        auto monitor = StartMonitor();
        EXPECT_EQ(GetAncestor(monitor->Handle(), GA_PARENT), GetDesktopWindow());
        EXPECT_FALSE(GetWindowLongPtrA(monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

TEST_F(Link, ClosingStoresEverySettingWithTheWindowsNewPlace) {
    StoreSettings({{"Pos", 3}, {"PosX", 10}, {"PosY", 20}, {"Alarm", 2}});
    FakeService service;
    auto monitor = StartMonitor();
    SetWindowPos(monitor->Handle(), nullptr, 321, 123, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    forms::TCloseAction action = forms::caFree;
    monitor->FormClose(nullptr, action);
    DWORD v = 0;
    ASSERT_TRUE(StoredValue("PosX", v));
    EXPECT_EQ(v, 321u);
    ASSERT_TRUE(StoredValue("PosY", v));
    EXPECT_EQ(v, 123u);
    ASSERT_TRUE(StoredValue("Alarm", v));
    EXPECT_EQ(v, 1u);
    EXPECT_EQ(Settings.PosX, 10);
}
