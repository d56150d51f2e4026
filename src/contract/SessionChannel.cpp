#include "SessionChannel.h"
#include <sddl.h>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace contract {
namespace {

constexpr uint32_t Magic = 0x43535754;  // "TWSC"
constexpr DWORD MappingSize = 4096;     // room for later additions after the layout below

struct Layout {
    uint32_t magic;
    uint32_t layoutSize;     // sizeof(Layout) of the writer: a reader takes what it knows of it
    volatile LONG sequence;  // odd while the service rewrites what follows
    uint32_t threadId;       // 0: the service has ended or signed off
    uint32_t tablePublished; // 0 until the first table: till then the file holds the only one
    uint32_t count;
    DriveRecord records[MaxDrives];
    // Added later: a writer's layoutSize tells whether it has them.
    DriveTraits traits[MaxDrives];
};
// What the first services wrote: a reader takes a table from any writer at least this large.
constexpr uint32_t FirstLayoutSize = offsetof(Layout, traits);
static_assert(sizeof(Layout) <= MappingSize, "the layout fits its mapping");

// The current user's SID as text, empty if it cannot be had.
std::string UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    char buffer[256];
    DWORD size = 0;
    std::string text;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        char* sid = nullptr;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    }
    CloseHandle(token);
    return text;
}

// Runs `write` between the two steps of the sequence, so that a reader never takes half of it.
template <typename Write>
void Rewrite(Layout* layout, Write write) {
    InterlockedIncrement(&layout->sequence);
    write(*layout);
    InterlockedIncrement(&layout->sequence);
}

}  // namespace

SessionPublisher::SessionPublisher() {
    // The user and the system only: no other user's program may read or change it.
    std::string sid = UserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    std::string sddl = "D:P(A;;GA;;;SY)" + (sid.empty() ? std::string() : "(A;;GA;;;" + sid + ")");
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        attributes.lpSecurityDescriptor = descriptor;
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, MappingSize, SessionChannelName);
    if (descriptor) LocalFree(descriptor);
    if (!mapping_) return;
    view_ = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0);
    if (!view_) return;
    auto* layout = static_cast<Layout*>(view_);
    Rewrite(layout, [](Layout& l) {
        l.magic = Magic;
        l.layoutSize = sizeof(Layout);
    });
}

SessionPublisher::~SessionPublisher() {
    if (view_) {
        if (published_) Withdraw(published_);
        UnmapViewOfFile(view_);
    }
    if (mapping_) CloseHandle(mapping_);
}

void SessionPublisher::PublishId(uint32_t threadId) {
    if (!view_) return;
    published_ = threadId;
    Rewrite(static_cast<Layout*>(view_), [&](Layout& l) { l.threadId = threadId; });
}

void SessionPublisher::PublishTable(const std::vector<uint8_t>& records, const std::vector<DriveTraits>& traits) {
    if (!view_) return;
    size_t count = std::min<size_t>(records.size() / sizeof(DriveRecord), MaxDrives);
    Rewrite(static_cast<Layout*>(view_), [&](Layout& l) {
        l.tablePublished = 1;
        l.count = static_cast<uint32_t>(count);
        if (count) memcpy(l.records, records.data(), count * sizeof(DriveRecord));
        for (size_t i = 0; i < MaxDrives; ++i) l.traits[i] = i < count && i < traits.size() ? traits[i] : DriveTraits{};
    });
}

void SessionPublisher::Withdraw(uint32_t threadId) {
    if (view_ && threadId && static_cast<Layout*>(view_)->threadId == threadId)
        Rewrite(static_cast<Layout*>(view_), [](Layout& l) { l.threadId = 0; });
}

std::optional<SessionTable> ReadSessionChannel() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, SessionChannelName);
    if (!mapping) return std::nullopt;
    std::optional<SessionTable> result;
    if (const auto* layout = static_cast<const Layout*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
        // The service rewrites it in a moment; a reader that keeps meeting a rewrite gives up.
        for (int attempt = 0; attempt < 1000 && !result; ++attempt) {
            LONG before = layout->sequence;
            MemoryBarrier();
            if (before & 1) {
                Sleep(0);
                continue;
            }
            SessionTable table;
            bool valid = layout->magic == Magic && layout->layoutSize >= FirstLayoutSize;
            table.threadId = layout->threadId;
            table.hasTable = layout->tablePublished != 0;
            table.count = std::min<uint32_t>(layout->count, MaxDrives);
            memcpy(table.records, layout->records, sizeof table.records);
            table.hasTraits = layout->layoutSize >= sizeof(Layout);
            if (table.hasTraits) memcpy(table.traits, layout->traits, sizeof table.traits);
            MemoryBarrier();
            if (layout->sequence != before) continue;
            if (!valid || table.threadId == 0) break;
            result = table;
        }
        UnmapViewOfFile(layout);
    }
    CloseHandle(mapping);
    return result;
}

}  // namespace contract
