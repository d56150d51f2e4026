// What a service publishes, and what it takes back when it ends or its user signs off: only its
// own id, never what another session's service wrote after it.
#include "Process.h"
#include "ServiceFiles.h"
#include "contract/SessionChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace service;

TEST(SessionFiles, AnEndingServiceTakesBackOnlyItsOwnId) {
    struct Case {
        bool otherWroteLast;
        std::vector<std::uint8_t> left;  // in "hsid.dat" afterwards
    };
    for (const Case& c : {Case{false, {}}, Case{true, {0x78, 0x56, 0x34, 0x12}}}) {
        contract::SessionPublisher channel;
        {
            ServiceIdFile id(&channel);
            ASSERT_TRUE(id.Write(0x1111));
            auto published = contract::ReadSessionChannel();
            ASSERT_TRUE(published);
            EXPECT_EQ(published->threadId, 0x1111u);
            // Another session's service, which publishes through the shared file only.
            if (c.otherWroteLast) {
                ASSERT_TRUE(WriteWholeFile(SystemFilePath("hsid.dat"), {0x78, 0x56, 0x34, 0x12}));
            }
        }
        EXPECT_EQ(testsupport::ReadFileBytes(SystemFilePath("hsid.dat")).value_or(std::vector<std::uint8_t>{}), c.left)
            << "other wrote last: " << c.otherWroteLast;
        EXPECT_FALSE(contract::ReadSessionChannel()) << "the channel still names the ended service";
    }
    DeleteFileA(SystemFilePath("hsid.dat").c_str());
}

TEST(SessionFiles, AnOlderServicesLayoutStillReadsWithoutTraits) {
    // What the first services wrote: magic, layoutSize, sequence, id, published, count, the records.
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                       contract::SessionChannelName);
    ASSERT_NE(mapping, nullptr);
    auto* words = static_cast<std::uint32_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(words, nullptr);
    const std::uint32_t older[] = {0x43535754, 24 + 8 * sizeof(contract::DriveRecord), 0, 0x4444, 1, 1};
    std::copy(std::begin(older), std::end(older), words);
    reinterpret_cast<std::uint8_t*>(words)[24 + 34] = 47;
    reinterpret_cast<std::uint8_t*>(words)[24 + 8 * 35] = 99;  // beyond its layout: not a trait
    auto read = contract::ReadSessionChannel();
    ASSERT_TRUE(read && read->hasTable);
    EXPECT_EQ(read->records[0].Temperature, 47);
    EXPECT_FALSE(read->hasTraits);
    EXPECT_EQ(read->traits[0].WarnLimit, 0);
    UnmapViewOfFile(words);
    CloseHandle(mapping);
}
