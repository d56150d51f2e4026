// The service link and the monitor's start-up, in-process, against a service on a thread.
#include "FakeService.h"
#include "LinkFixture.h"
#include "forms/Registry.h"
#include <cstring>
#include <optional>

using namespace thermowl;
using namespace testsupport;

TEST_F(Link, OnlyTheFirstFourBytesOfTheServiceFileAreTheId) {
    WriteFileBytes(SystemFilePath("hsid.dat"), {1, 2, 3});
    EXPECT_EQ(ReadServiceIdFile(), 0u);
    WriteFileBytes(SystemFilePath("hsid.dat"), {0x78, 0x56, 0x34, 0x12, 9, 9});
    EXPECT_EQ(ReadServiceIdFile(), 0x12345678u);
}

// --- replies --------------------------------------------------------------------------------

TEST_F(Link, EachReplySetsTheCountAtMostEightAndReadsTheTableWhenThereIsOne) {
    struct Case {
        const char* name;
        WPARAM count;
        bool file, read;
        int32_t driveCount;
    };
    const Case cases[] = {
        {"twelve drives, eight kept", 12, true, true, 8},
        {"255 without a file", 255, false, false, 8},
        {"no drives", 0, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyReceived = false;
        PanelReady = true;
        DriveTable[0].Temperature = 33;
        RemoveFile(SystemFilePath("hdinfo.dat"));
        if (c.file) WriteTable(EncodeTable(std::vector<FakeService::Drive>(8, {"D", 30})));
        ReplyOutcome r = TakeReply(c.count);
        EXPECT_EQ(r.read, c.read);
        EXPECT_EQ(r.show, c.read);
        EXPECT_EQ(DriveCount, c.driveCount);
        EXPECT_TRUE(ReplyReceived);
        EXPECT_EQ(DriveTable[0].Temperature, c.read ? 30 : 33);  // a table not read stays as it was
    }
}

TEST_F(Link, ALongerFileIsReadOnlyToTheTablesEnd) {
    auto bytes = EncodeTable(std::vector<FakeService::Drive>(8, {"Z", 44}));
    bytes.resize(400, 0xEE);
    WriteTable(bytes);
    // Set beforehand what the reply sets, so that only a read past the table changes the memory
    // after it (taken as an address, so that the compiler lets the test look past the array).
    ReplyReceived = true;
    DriveCount = 8;
    constexpr size_t beyond = 120;
    const auto* after = reinterpret_cast<const unsigned char*>(reinterpret_cast<uintptr_t>(DriveTable) + sizeof(DriveTable));
    std::vector<unsigned char> before(after, after + beyond);
    TakeReply(8);
    EXPECT_EQ(DriveTable[7].Temperature, 44);
    EXPECT_EQ(std::vector<unsigned char>(after, after + beyond), before) << "read past the table";
}

TEST_F(Link, TheTableIsReadByteForByteAsTheServiceWritesIt) {
    // Written by hand, not with the monitor's own record: length, 32 name bytes, one byte not
    // read, temperature. A length above 32 is taken as 32.
    struct Record {
        std::string name;
        uint8_t length, temperature;
    };
    const Record records[] = {{"ST31000528AS", 12, 47}, {"HDS721010", 9, 52}, {std::string(32, 'N'), 40, 255}};
    std::vector<uint8_t> bytes(35 * 3, 0);
    for (int i = 0; i < 3; ++i) {
        uint8_t* r = bytes.data() + 35 * i;
        r[0] = records[i].length;
        memcpy(r + 1, records[i].name.data(), records[i].name.size());
        r[33] = 0x99;
        r[34] = records[i].temperature;
    }
    WriteTable(bytes);
    TakeReply(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DriveName(DriveTable[i]), records[i].name);
        EXPECT_EQ(DriveTable[i].Temperature, records[i].temperature);
    }
    // A shorter file replaces only the start of the table.
    WriteTable(EncodeTable({{"C", 30}}));
    TakeReply(3);
    EXPECT_EQ(DriveName(DriveTable[0]), "C");
    EXPECT_EQ(DriveName(DriveTable[1]), records[1].name);
}

// --- start-up ---------------------------------------------------------------------------------

TEST_F(Link, StartUpWithAServiceShowsNoMessageAndPolls) {
    StoreSettings({{"RefreshTime", 7}});
    {
        forms::TRegistry reg(HKEY_LOCAL_MACHINE);
        reg.OpenKey("\\Software\\Vantrell\\Thermowl", true);
        reg.WriteString("PATH", "C:\\Program Files\\Thermowl\\");
    }
    FakeService service;
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
    // "clear.scf" from the installation folder, twice, hidden.
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].a, "open");
    EXPECT_EQ(shell[0].b, "C:\\Program Files\\Thermowl\\clear.scf");
    EXPECT_EQ(shell[1].flags, UINT(SW_HIDE));
    monitor->Timer1Timer(nullptr);
    EXPECT_TRUE(WaitUntil([&] { return service.requests == 2; }));
}

TEST_F(Link, StartUpWithoutAUsableServiceEndsWithTheMessage) {
    enum Kind { Silent, NoDrives, NoReplyWithoutTable, EarlierRunsId, NoFile };
    const std::pair<const char*, Kind> cases[] = {
        {"no first answer in time", Silent},
        {"zero drives", NoDrives},
        {"255 without a table", NoReplyWithoutTable},
        {"the id file of an earlier run, never replaced", EarlierRunsId},
        {"an id file that never appears", NoFile},
    };
    for (const auto& [name, kind] : cases) {
        SCOPED_TRACE(name);
        boxes.clear();
        ResetMonitorState();
        // Only the wait that runs out is shortened: an answer that comes is never raced.
        if (kind == Silent) Waits.firstReplyMs = WaitedOutMs;
        if (kind >= EarlierRunsId) Waits.serviceSearchMs = WaitedOutMs;
        std::optional<FakeService> service;
        if (kind == EarlierRunsId) WriteFileBytes(SystemFilePath("hsid.dat"), IdBytes(EndedThreadId()));
        if (kind < EarlierRunsId) service.emplace();
        if (kind == Silent) service->answer = false;
        if (kind == NoDrives) service->drives.clear();
        if (kind == NoReplyWithoutTable) {
            service->count = 255;
            service->writeFile = false;
        }
        auto monitor = StartMonitor();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].a, kind == NoDrives ? "No drive reports its temperature.\r\nThe temperature service runs, "
                                                 "but found no drive whose temperature it can read."
                                               : "Service is not started!\r\nPlease reinstall application.");
        EXPECT_EQ(boxes[0].b, "Thermowl");
        EXPECT_EQ(boxes[0].flags, UINT(MB_OK));
        EXPECT_EQ(ServiceThreadId, 0u);
        EXPECT_FALSE(monitor->Timer1->Enabled());
        EXPECT_FALSE(PanelReady);
        monitor.reset();
        RemoveFile(SystemFilePath("hsid.dat"));
    }
}

TEST_F(Link, APositiveCountWithoutATableStartsFromTheEmptyTableAndEveryLaterReplyIsTaken) {
    FakeService service;
    service.count = 3;
    service.writeFile = false;
    auto monitor = StartMonitor();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DriveCount, 3);
    EXPECT_EQ(DriveTable[0].NameLength, 0);
    EXPECT_TRUE(PanelReady);
    // Replies nobody asked for, and the same one twice: each is shown.
    for (uint8_t t : {50, 52}) {
        WriteTable(EncodeTable({{"A", t}, {"B", uint8_t(t + 1)}}));
        PostMessageA(monitor->Handle(), RecInfoMsg, 2, 0);
        forms::Application->ProcessMessages();
        EXPECT_EQ(DriveTable[1].Temperature, t + 1);
    }
}

TEST_F(Link, AnInstallationPathThatIsNotTextEndsTheProgram) {
    {
        forms::TRegistry reg(HKEY_LOCAL_MACHINE);
        reg.OpenKey("\\Software\\Vantrell\\Thermowl", true);
        reg.WriteInteger("PATH", 5);
    }
    FakeService service;
    auto monitor = StartMonitor();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Invalid data type for 'PATH'");
    EXPECT_EQ(ServiceThreadId, 0u);
    EXPECT_EQ(service.requests, 0);
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
    // On the desktop when it has a program manager, otherwise (and in the normal mode) top-level.
    for (auto [pos, withProgman] : {std::pair{2, true}, {2, false}, {3, true}}) {
        SCOPED_TRACE(testing::Message() << "Pos " << pos << (withProgman ? " with" : " without") << " Progman");
        std::optional<FakeProgman> desktop;
        if (withProgman) desktop.emplace();
        StoreSettings({{"Pos", pos}});
        auto monitor = StartMonitor();
        HWND parent = pos == 2 && withProgman ? desktop->Handle() : GetDesktopWindow();
        EXPECT_EQ(GetAncestor(monitor->Handle(), GA_PARENT), parent);
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
    EXPECT_EQ(Stored("PosX"), 321u);
    EXPECT_EQ(Stored("PosY"), 123u);
    EXPECT_EQ(Stored("Alarm"), 1u);
    EXPECT_EQ(Settings.PosX, 10);
}
