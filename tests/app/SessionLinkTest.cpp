// Two users signed in at once: each session's service publishes its id and table in its own
// session channel, and the shared files hold whichever service wrote last.
#include "FakeService.h"
#include "LinkFixture.h"
#include "contract/SessionChannel.h"

using namespace thermowl;

TEST_F(Link, AMonitorTalksToItsOwnSessionsServiceAndNeverAdoptsAnotherSessionsId) {
    FakeService own;  // this session's service, which also publishes in the session channel
    contract::SessionPublisher channel;
    channel.PublishId(own.ThreadId());
    channel.PublishTable(EncodeTable({{"Own disk", 41}}));
    FakeService other;  // another session's, through the shared files only, and written last
    WriteTable(EncodeTable({{"Other session's disk", 30}}));

    EXPECT_EQ(ReadServiceId(nullptr), own.ThreadId());
    ServiceThreadId = own.ThreadId();
    ASSERT_TRUE(TakeReply(1).read);
    EXPECT_EQ(DriveName(DriveTable[0]), "Own disk");

    // Its service silent for a while, the monitor looks for it again and keeps to its own.
    own.answer = false;
    Polls.missedPolls = SilentPolls;
    PollService(nullptr);
    EXPECT_EQ(ServiceThreadId, own.ThreadId());
}
