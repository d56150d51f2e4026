// The service's id and drive table published in the signed-in user's own session, beside the two
// files in the system directory that every session shares: a named file mapping under "Local\",
// which only the session's user may open. A monitor that finds it talks to its own session's
// service and reads its own session's table; without it, it falls back to the files.
#pragma once
#include "ServiceContract.h"
#include <optional>
#include <vector>

namespace contract {

constexpr const char* SessionChannelName = "Local\\Thermowl.Service";

// The service's side: creates the mapping and keeps it for as long as it lives.
class SessionPublisher {
public:
    SessionPublisher();
    SessionPublisher(const SessionPublisher&) = delete;
    SessionPublisher& operator=(const SessionPublisher&) = delete;
    ~SessionPublisher();  // withdraws the id

    bool Open() const { return view_ != nullptr; }
    void PublishId(uint32_t threadId);
    // Takes the records of the table as written to the file (a whole number of records is kept),
    // and what each drive states about itself, in the same order (missing ones: nothing stated).
    void PublishTable(const std::vector<uint8_t>& records, const std::vector<DriveTraits>& traits = {});
    // Empties the id, if it is still `threadId` (signing off, ending).
    void Withdraw(uint32_t threadId);

private:
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
    uint32_t published_ = 0;
};

// The monitor's side. Each call opens the mapping afresh, so a service that ended and one that
// started since are seen at once.
struct SessionTable {
    uint32_t threadId = 0;
    bool hasTable = false;  // a table was published (else only the file has one)
    uint32_t count = 0;     // records in `records`
    DriveRecord records[MaxDrives] = {};
    bool hasTraits = false;  // the service publishes traits (an older one does not)
    DriveTraits traits[MaxDrives] = {};
};
// What this session's service published; nothing when no service of this session runs.
std::optional<SessionTable> ReadSessionChannel();

}  // namespace contract
