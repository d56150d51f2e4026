// The temperature service's contract, against the real thermowl-service.exe: the id file,
// requests and replies, the drive table file byte by byte, each misbehaviour, the request
// log, bad command lines and the normal ways to end.
#include "FakeSysfs.h"
#include "Process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

using testsupport::Process;

namespace {

constexpr UINT ReqInfoMsg = WM_USER + 1;
constexpr UINT RecInfoMsg = WM_USER + 3;
constexpr DWORD kBound = 30000;  // for a partner that hangs, not a speed limit

const std::string kIdFile = testsupport::SystemFilePath("hsid.dat");
const std::string kTableFile = testsupport::SystemFilePath("hdinfo.dat");

// A hidden window that records every reply it gets and, like the monitor, reads the drive
// table while it handles the reply.
class ReplyWindow {
public:
    ReplyWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ThermowlServiceTestReply";
        RegisterClassA(&wc);  // fails harmlessly when already registered
        handle_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, this);
    }
    ~ReplyWindow() { DestroyWindow(handle_); }
    ReplyWindow(const ReplyWindow&) = delete;
    ReplyWindow& operator=(const ReplyWindow&) = delete;

    HWND Handle() const { return handle_; }
    const std::vector<WPARAM>& Replies() const { return replies_; }
    void ClearReplies() { replies_.clear(); }
    DWORD LastReplyTick() const { return lastReplyTick_; }
    // "hdinfo.dat" as read during the last reply (nothing if it could not be opened).
    const std::optional<std::vector<uint8_t>>& TableAtReply() const { return tableAtReply_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<ReplyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == RecInfoMsg && self) {
            self->replies_.push_back(wp);
            self->lastReplyTick_ = GetTickCount();
            self->tableAtReply_ = testsupport::ReadFileBytes(kTableFile);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    HWND handle_ = nullptr;
    std::vector<WPARAM> replies_;
    DWORD lastReplyTick_ = 0;
    std::optional<std::vector<uint8_t>> tableAtReply_;
};

// One record as the monitor would read it.
struct Record {
    int nameLength;
    std::string name;  // all 32 name bytes
    int spare;
    int temperature;
};

Record RecordAt(const std::vector<uint8_t>& table, std::size_t index) {
    const auto* r = table.data() + 35 * index;
    return {r[0], std::string(r + 1, r + 33), r[33], r[34]};
}

std::string Padded(const std::string& name) { return name + std::string(32 - name.size(), '\0'); }

struct LogLine {
    unsigned long counter;
    unsigned long tick;
    unsigned long long window;
};

std::vector<LogLine> ParseLog(const std::string& text) {
    std::vector<LogLine> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        LogLine entry{};
        if (std::sscanf(line.c_str(), "%lu %lu 0x%llx", &entry.counter, &entry.tick, &entry.window) == 3)
            lines.push_back(entry);
    }
    return lines;
}

class ServiceTest : public ::testing::Test {
protected:
    // Starts the service and, unless told otherwise, waits until it has published its id.
    // The drives are simulated ones unless the options name a source: this machine's own
    // drives would make the answers unknown.
    void Start(const std::vector<std::string>& options, bool waitForId = true, Process::Options how = {}) {
        std::vector<std::string> args = {testsupport::WindowsPath(THERMOWL_SERVICE_EXE), "--log", logPath_};
        if (std::find(options.begin(), options.end(), "--source") == options.end())
            args.insert(args.end(), {"--source", "simulated"});
        args.insert(args.end(), options.begin(), options.end());
        service_.emplace(Process::Start(testsupport::CommandLine(args), how));
        if (!waitForId)
            return;
        ASSERT_TRUE(testsupport::WaitUntil([&] { return IdFileBytes().size() >= 4 || !service_->Running(); }, kBound));
        ASSERT_TRUE(service_->Running()) << service_->Errors();
    }

    std::vector<uint8_t> IdFileBytes() const { return testsupport::ReadFileBytes(kIdFile).value_or(std::vector<uint8_t>{}); }

    DWORD ServiceThreadId() const {
        const std::vector<uint8_t> bytes = IdFileBytes();
        return bytes.size() < 4 ? 0 : bytes[0] | bytes[1] << 8 | bytes[2] << 16 | DWORD(bytes[3]) << 24;
    }

    void PostRequest(HWND replyTo) {
        ASSERT_TRUE(PostThreadMessageA(ServiceThreadId(), ReqInfoMsg, 0, reinterpret_cast<LPARAM>(replyTo)));
    }

    // Posts one request and pumps messages until the reply count reaches `replies`.
    void Request(std::size_t replies) {
        PostRequest(window_.Handle());
        ASSERT_TRUE(testsupport::WaitUntil([&] { return window_.Replies().size() >= replies; }, kBound))
            << "no reply; service errors: " << service_->Errors();
    }

    // The table as the reply window read it while handling the last reply.
    std::vector<uint8_t> Table() const { return window_.TableAtReply().value_or(std::vector<uint8_t>{}); }

    std::vector<LogLine> Log() const { return ParseLog(testsupport::ReadFileText(logPath_).value_or("")); }

    // Ends the service the normal way, delivering any reply it still sends meanwhile.
    void Stop() {
        ASSERT_TRUE(PostThreadMessageA(ServiceThreadId(), WM_QUIT, 0, 0));
        const std::optional<DWORD> code = service_->WaitForExit(kBound, true);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
        testsupport::PumpMessages();
    }

    std::string logPath_ = testsupport::TempFilePath("log");
    testsupport::FileCleanup files_{kIdFile, kTableFile};
    testsupport::FileCleanup log_{{logPath_}, false};
    ReplyWindow window_;
    std::optional<Process> service_;  // declared last: ended first
};

// ---- the normal contract ----

// One run: the id, a whole table of simulated drives, requests naming no window, the log, and the end.
TEST_F(ServiceTest, PublishesItsIdAnswersLogsEachRequestAndEndsOnQuit) {
    Start({"--drives", "8"});
    EXPECT_EQ(IdFileBytes().size(), 4u);
    const std::vector<DWORD> threads = service_->ThreadIds();
    EXPECT_NE(std::find(threads.begin(), threads.end(), ServiceThreadId()), threads.end());

    PostRequest(nullptr);
    PostRequest(reinterpret_cast<HWND>(HWND_BROADCAST));
    Request(1);  // those two got no reply
    EXPECT_EQ(window_.Replies(), std::vector<WPARAM>{8});
    const std::vector<uint8_t> table = Table();
    ASSERT_EQ(table.size(), 280u);
    for (std::size_t i = 0; i < 8; ++i) {
        const Record r = RecordAt(table, i);
        EXPECT_EQ(r.nameLength, 16);
        EXPECT_EQ(r.name, Padded("Simulated disk " + std::to_string(i + 1)));
        EXPECT_EQ(r.spare, 2);  // flagged as simulated
        EXPECT_GE(r.temperature, 30);
        EXPECT_LE(r.temperature, 50);
    }

    Request(2);
    const std::vector<LogLine> log = Log();
    ASSERT_EQ(log.size(), 4u);
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].counter, i + 1);
        if (i > 0) {
            EXPECT_GE(log[i].tick, log[i - 1].tick);
        }
    }
    EXPECT_EQ(log[0].window, 0u);
    EXPECT_EQ(log[3].window, reinterpret_cast<std::uintptr_t>(window_.Handle()));

    Stop();
    EXPECT_FALSE(testsupport::FileExists(kIdFile));
    EXPECT_TRUE(testsupport::FileExists(kTableFile));
}

// ---- scripted drives ----

TEST_F(ServiceTest, ScenarioFileStepsThroughItsValues) {
    const std::string scenario = testsupport::TempFilePath("scn");
    testsupport::FileCleanup scenarioCleanup({scenario}, false);
    ASSERT_TRUE(testsupport::WriteFileText(scenario, "# hot drive, then a nameless cool one\r\n"
                                                     "Hot Disk = 40, 41 255\r\n"
                                                     "\r\n"
                                                     " = 7   # no name\r\n"));
    Start({"--scenario", scenario});
    const int expected[] = {40, 41, 255, 255};
    for (std::size_t i = 0; i < 4; ++i) {
        Request(i + 1);
        EXPECT_EQ(window_.Replies()[i], 2u);
        const std::vector<uint8_t> table = Table();
        ASSERT_EQ(table.size(), 70u);
        EXPECT_EQ(RecordAt(table, 0).nameLength, 8);
        EXPECT_EQ(RecordAt(table, 0).name, Padded("Hot Disk"));
        EXPECT_EQ(RecordAt(table, 0).temperature, expected[i]);
        EXPECT_EQ(RecordAt(table, 1).nameLength, 0);
        EXPECT_EQ(RecordAt(table, 1).name, Padded(""));
        EXPECT_EQ(RecordAt(table, 1).temperature, 7);
    }
}

// Each answer replaces the whole file: a longer old one leaves nothing behind.
TEST_F(ServiceTest, InlineDrivesKeepTheirOrderAndAnsiNamesAndEachAnswerReplacesTheFile) {
    ASSERT_TRUE(testsupport::WriteFileBytes(kTableFile, std::vector<uint8_t>(280, 0xEE)));
    Start({"--drive", "Disk \xB0 one=33", "--drive", "ST3500418AS=44,45,46"});
    for (std::size_t i = 0; i < 3; ++i) {
        Request(i + 1);
        const std::vector<uint8_t> table = Table();
        ASSERT_EQ(table.size(), 70u);
        EXPECT_EQ(RecordAt(table, 0).name, Padded("Disk \xB0 one"));
        EXPECT_EQ(RecordAt(table, 0).temperature, 33);
        EXPECT_EQ(RecordAt(table, 1).name, Padded("ST3500418AS"));
        EXPECT_EQ(RecordAt(table, 1).temperature, int(44 + i));
    }
}

// ---- real drives ----

TEST_F(ServiceTest, AnswersWithTheDrivesOfALinuxSysfs) {
    const FakeSysfs sysfs;
    Start({"--source", "hwmon", "--sysfs", sysfs.Root()});
    Request(1);
    EXPECT_EQ(window_.Replies()[0], 3u);
    const std::vector<uint8_t> table = Table();
    ASSERT_EQ(table.size(), 105u);
    const std::string names[] = {"ST3500418AS (sda)", std::string(FakeSysfs::kLongModel, 32), "ST3500418AS (sdb)"};
    const int temperatures[] = {39, 41, 255};
    for (std::size_t i = 0; i < 3; ++i) {
        const Record r = RecordAt(table, i);
        EXPECT_EQ(r.nameLength, int(names[i].size()));
        EXPECT_EQ(r.name, Padded(names[i]));
        EXPECT_EQ(r.spare, 0);  // measured, awake
        EXPECT_EQ(r.temperature, temperatures[i]);
    }
    EXPECT_NE(service_->Output().find("source: hwmon, 3 drives"), std::string::npos) << service_->Output();
}

TEST_F(ServiceTest, AutoWithoutARealDriveAnswersNoneAndSaysWhy) {
    Start({"--source", "auto", "--sysfs", "C:\\no-such-sysfs"});
    Request(1);
    EXPECT_EQ(window_.Replies()[0], 0u);
    EXPECT_TRUE(Table().empty());
    EXPECT_NE(service_->Output().find("no drive reports a temperature"), std::string::npos) << service_->Output();
    const std::string log = testsupport::ReadFileText(logPath_).value_or("");
    EXPECT_EQ(log.rfind("# no drive reports a temperature", 0), 0u) << log;
}

// ---- a busy service ----

TEST_F(ServiceTest, RequestsQueuedWhileBusyGetOneDelayedAnswerPerWindow) {
    Start({"--delay-ms", "1000"});
    ReplyWindow other;
    for (int i = 0; i < 3; ++i)
        PostRequest(window_.Handle());
    PostRequest(other.Handle());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return !other.Replies().empty(); }, kBound));
    // Replies go out in order, so any for the first window came before the other's.
    EXPECT_EQ(window_.Replies().size(), 1u);
    const std::vector<LogLine> log = Log();
    ASSERT_EQ(log.size(), 4u);
    // The answer waited the delay. GetTickCount moves in steps of up to ~16 ms.
    EXPECT_GE(window_.LastReplyTick() - log[0].tick, 1000u - 16u);
    EXPECT_EQ(Table().size(), 70u);
}

// ---- misbehaviours ----

// Misbehaviours that change different parts of an answer, several to a run: each one's effect
// shows on its own part (the count, the file's length, the length bytes, the number of replies).
TEST_F(ServiceTest, MisbehavioursShapeTheAnswer) {
    const struct {
        std::vector<std::string> options;
        std::vector<WPARAM> replies;
        std::vector<uint8_t> table;  // as the reply window read it
    } cases[] = {
        // Count beyond a byte, file cut inside the second record, length bytes over the name field.
        {{"--drive", "ST3500418AS=44", "--drive", "B=45", "--short-file", "50", "--report-count", "300",
          "--name-length", "40", "--answer-twice"},
         {300, 300},
         [] {
             std::vector<uint8_t> t(50, 0);
             t[0] = 40;
             std::copy_n("ST3500418AS", 11, t.begin() + 1);
             t[33] = 2, t[34] = 44, t[35] = 40, t[36] = 'B';
             return t;
         }()},
        // A count of 0 is sent as such; a file longer than the table is padded with zeros.
        {{"--drive", "A=44", "--short-file", "300", "--report-count", "0"},
         {0},
         [] {
             std::vector<uint8_t> t(300, 0);
             t[0] = 1, t[1] = 'A', t[33] = 2, t[34] = 44;
             return t;
         }()},
    };
    for (const auto& c : cases) {
        Start(c.options);
        Request(c.replies.size());
        Stop();
        EXPECT_EQ(window_.Replies(), c.replies) << c.options[1];
        EXPECT_EQ(Table(), c.table) << c.options[1];
        window_.ClearReplies();
    }
}

TEST_F(ServiceTest, NeverAnswerTakesTheRequestButSendsNothing) {
    Start({"--never-answer"});
    PostRequest(window_.Handle());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return Log().size() == 1; }, kBound));
    Stop();  // a reply would have gone out before the service took the quit message
    EXPECT_TRUE(window_.Replies().empty());
    EXPECT_FALSE(testsupport::FileExists(kTableFile));
}

// Two misbehaviours in one run: no table file, and filler after the id.
TEST_F(ServiceTest, NoFileRemovesAnOldTableAndWritesNoneAndALongIdFileHasFiller) {
    ASSERT_TRUE(testsupport::WriteFileBytes(kTableFile, std::vector<uint8_t>(70, 1)));
    Start({"--no-file", "--hsid-bytes", "6"});
    EXPECT_FALSE(testsupport::FileExists(kTableFile));
    const std::vector<uint8_t> id = IdFileBytes();
    ASSERT_EQ(id.size(), 6u);
    EXPECT_EQ(id[4], 0xFF);
    EXPECT_EQ(id[5], 0xFF);
    Request(1);  // the first 4 bytes are the id
    EXPECT_EQ(window_.Replies()[0], 2u);
    EXPECT_FALSE(testsupport::FileExists(kTableFile));
}

TEST_F(ServiceTest, UnsolicitedRepliesComeWithoutRequestsOrIdFile) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window_.Handle())));
    Start({"--no-hsid", "--unsolicited", hex, "--interval-ms", "20"}, false);
    // Replies show the loop runs, so the id file would be there by now.
    ASSERT_TRUE(testsupport::WaitUntil([&] { return window_.Replies().size() >= 3; }, kBound)) << service_->Errors();
    EXPECT_FALSE(testsupport::FileExists(kIdFile));
    // Unasked replies are no requests, and each comes with a whole table.
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(Table().size(), 70u);
}

TEST_F(ServiceTest, ShortIdFileHoldsTheLowBytesOfTheId) {
    Start({"--hsid-bytes", "2"}, false);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return IdFileBytes().size() == 2; }, kBound));
    const std::vector<uint8_t> bytes = IdFileBytes();
    const std::vector<DWORD> threads = service_->ThreadIds();
    EXPECT_TRUE(std::any_of(threads.begin(), threads.end(),
                            [&](DWORD id) { return (id & 0xFFFF) == DWORD(bytes[0] | bytes[1] << 8); }));
}

TEST_F(ServiceTest, LockedTableCannotBeOpenedByTheMonitor) {
    Start({"--drive", "A=40,41", "--lock-table"});
    for (std::size_t i = 1; i <= 2; ++i) {
        Request(i);
        // The monitor opens it for reading, sharing read and write.
        HANDLE file = CreateFileA(kTableFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        const DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        EXPECT_EQ(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(error, DWORD(ERROR_SHARING_VIOLATION));
    }
    EXPECT_FALSE(window_.TableAtReply().has_value());
    Stop();
    const std::vector<uint8_t> table = testsupport::ReadFileBytes(kTableFile).value_or(std::vector<uint8_t>{});
    ASSERT_EQ(table.size(), 35u);
    EXPECT_EQ(table[34], 41);  // the second answer went into the held file
}

TEST_F(ServiceTest, BusyMonitorDoesNotHangTheService) {
    Start({});
    PostRequest(window_.Handle());
    PostThreadMessageA(ServiceThreadId(), WM_QUIT, 0, 0);
    // This thread does not pump: the reply cannot be delivered, yet the service ends.
    const std::optional<DWORD> code = service_->WaitForExit(60000, false);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(testsupport::FileExists(kIdFile));
}

// ---- running in the background ----

// The service's top-level window, through which the session end reaches it.
HWND SessionWindowOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->processId)
                s->found = hwnd;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(ServiceTest, IsAWindowedProgramSoNoConsoleOpensAtLogOn) {
    const std::vector<uint8_t> image =
        testsupport::ReadFileBytes(testsupport::WindowsPath(THERMOWL_SERVICE_EXE)).value_or(std::vector<uint8_t>{});
    ASSERT_GE(image.size(), 0x40u);
    const std::size_t header = image[0x3C] | image[0x3D] << 8 | image[0x3E] << 16 | image[0x3F] << 24;
    // Signature (4 bytes), file header (20 bytes), then the optional header: subsystem at 68.
    const std::size_t subsystem = header + 4 + 20 + 68;
    ASSERT_GT(image.size(), subsystem + 1);
    EXPECT_EQ(std::string(image.begin() + header, image.begin() + header + 4), std::string("PE\0\0", 4));
    EXPECT_EQ(image[subsystem] | image[subsystem + 1] << 8, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// In the background it answers, prints nothing, makes a second copy end at once, and ends
// with the user session.
TEST_F(ServiceTest, BackgroundServiceAnswersStaysAloneAndEndsWithTheUserSession) {
    Start({"--background", "--drive", "A=40"});
    const DWORD firstId = ServiceThreadId();
    Process second = Process::Start(testsupport::CommandLine({testsupport::WindowsPath(THERMOWL_SERVICE_EXE), "--background"}));
    const std::optional<DWORD> secondCode = second.WaitForExit(kBound);
    ASSERT_TRUE(secondCode.has_value());
    EXPECT_EQ(*secondCode, 3u);
    EXPECT_EQ(ServiceThreadId(), firstId);

    const HWND session = SessionWindowOf(service_->Id());
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(SendMessageA(session, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);

    // A session end that was called off changes nothing.
    SendMessageA(session, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    Request(1);
    EXPECT_EQ(RecordAt(Table(), 0).temperature, 40);

    // The process may be ended as soon as the message is handled: the id file must be gone by then.
    SendMessageA(session, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(testsupport::FileExists(kIdFile));
    const std::optional<DWORD> code = service_->WaitForExit(kBound, true);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(service_->Output() + service_->Errors(), "");
}

// ---- ending ----

// The installed id file may be rewritten but not deleted by a user's service: it is left empty.
TEST_F(ServiceTest, EndsAfterTheGivenNumberOfRequestsLeavingAnIdFileItMayNotDeleteEmpty) {
    Start({"--requests", "2"});
    // A handle without delete sharing makes the delete fail as missing rights would.
    HANDLE holder = CreateFileA(kIdFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Request(1);
    EXPECT_TRUE(service_->Running());
    Request(2);
    const std::optional<DWORD> code = service_->WaitForExit(kBound, true);
    CloseHandle(holder);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(testsupport::FileExists(kIdFile));
    EXPECT_TRUE(IdFileBytes().empty());
}

// ---- command line ----

// Status 2 and no id file; in the foreground one line on stderr, in the background nothing at all.
TEST_F(ServiceTest, BadCommandLineExitsWithStatusTwo) {
    const std::string malformed = testsupport::TempFilePath("bad");
    testsupport::FileCleanup cleanup({malformed}, false);
    ASSERT_TRUE(testsupport::WriteFileText(malformed, "# ok\nA = 40\nB 41\n"));
    const std::vector<std::string> cases[] = {
        {"--bogus"}, {"--drives", "9"}, {"--delay-ms"}, {"--drive", "NoTemperatures"},
        {"--scenario", "Z:\\no\\such\\scenario.txt"}, {"--scenario", malformed}, {"--scenario", "C:\\windows"},
        {"--background", "--bogus"}, {"--drive", "A", "--background"}};
    for (const std::vector<std::string>& args : cases) {
        Start(args, false);
        const std::optional<DWORD> code = service_->WaitForExit(kBound);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 2u) << testsupport::CommandLine(args);
        const std::string errors = service_->Errors();
        if (std::find(args.begin(), args.end(), "--background") != args.end()) {
            EXPECT_EQ(service_->Output() + errors, "") << testsupport::CommandLine(args);
        } else {
            EXPECT_EQ(errors.rfind("thermowl-service: ", 0), 0u) << errors;
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        }
        EXPECT_FALSE(testsupport::FileExists(kIdFile));
    }
}

}  // namespace
