// A drive's own limits in-process: the real service's loop and hwmon source on a made-up /sys
// publish them in the session channel, and the monitor judges each drive by them.
#include "FakeSysfs.h"
#include "HwmonDrives.h"
#include "MonitorFixture.h"
#include "app/DriveThresholds.h"
#include "app/TrayHint.h"
#include "RealDrives.h"
#include "ServiceLoop.h"

using namespace thermowl;
using namespace testsupport;

namespace {

// The service as its main runs it with the hwmon source, on a thread of the test.
struct HwmonService {
    FakeSysfs sysfs;
    service::Options options;
    contract::SessionPublisher channel;
    service::TableFile table{false, &channel};
    service::RequestLog log{""};
    std::unique_ptr<service::RealDrives> drives;
    std::atomic<DWORD> threadId{0};
    std::thread thread;

    explicit HwmonService(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [path, text] : files) sysfs.Write("class\\hwmon\\" + path, text);
        drives = std::make_unique<service::RealDrives>("hwmon", service::FindHwmonDrives(sysfs.Root()),
                                                       service::SystemClock);
        thread = std::thread([this] {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
            service::ServiceIdFile id(&channel);
            id.Write(GetCurrentThreadId());
            threadId = GetCurrentThreadId();
            service::ServiceLoop(options, *drives, table, log).Run();
        });
        WaitUntil([this] { return threadId != 0; });
    }
    ~HwmonService() {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        thread.join();
        table.Remove();
    }
};

struct DriveLimits : MonitorTest {
    std::vector<std::string> balloons;
    void SetUp() override {
        MonitorTest::SetUp();
        forms::platform.Shell_NotifyIconA = [this](DWORD m, PNOTIFYICONDATAA d) {
            if (m == NIM_MODIFY && (d->uFlags & NIF_INFO) && d->szInfo[0])
                balloons.push_back(std::string(d->szInfoTitle) + "|" + d->szInfo);
            return TRUE;
        };
        service.reset();  // the real one takes its place
    }
};

}  // namespace

TEST_F(DriveLimits, EachDriveIsJudgedByTheLimitsItStates) {
    HwmonService hwmon({{"hwmon0\\temp1_input", "57000"}, {"hwmon0\\temp1_max", "55000"},
                        {"hwmon2\\temp1_input", "65000"}, {"hwmon2\\temp1_max", "80000"},
                        {"hwmon2\\temp1_crit", "85000"}, {"hwmon10\\temp1_input", "30000"}});
    Start({{"WarnTemp", 60}, {"AlarmTemp", 70}, {"Devices", 3}});
    // The disk warns at its 55 degrees, the NVMe drive at its 80: only the disk is announced.
    const std::vector<std::string> expected = {
        "WARNING!|ST3500418AS (sda)\r\ntemperature is 57 \xB0" "C (its limit is 55 \xB0" "C)"};
    EXPECT_EQ(balloons, expected);
    const std::string nvme = std::string(FakeSysfs::kLongModel).substr(0, 32);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "ST3500418AS (sda) is 57\xB0" "C (its limit is 55\xB0" "C)\r\n" + nvme +
                                              " is 65\xB0" "C\r\nST3500418AS (sdb) is 30\xB0" "C");
}

TEST(DriveLimitNotes, TheCrossedThresholdIsNamedOnlyWhenItIsTheDrivesOwn) {
    using S = LimitSource;
    const struct {
        DriveThresholds limits;
        int t;
        std::string note;
    } cases[] = {
        {{55, 70, S::Drive, S::Default}, 57, " (its limit is 55 \xB0" "C)"},
        {{55, 70, S::Drive, S::Default}, 71, ""},  // the default alarm is crossed: today's text
        {{80, 85, S::User, S::User}, 86, " (its limit is 85 \xB0" "C)"},
    };
    for (const auto& c : cases) EXPECT_EQ(CrossedLimitNote(c.limits, c.t, " "), c.note) << c.t;
    // The hint gets a note only while it fits.
    std::string hint(100, 'x');
    AddHintLine(hint, "D is 57\xB0" "C", " (its limit is 55\xB0" "C)");
    EXPECT_EQ(hint, std::string(100, 'x') + "\r\nD is 57\xB0" "C");
}
