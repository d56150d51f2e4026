#include "DriveTable.h"

#include <algorithm>

namespace service {

std::vector<std::uint8_t> EncodeRecord(const DriveReading& drive, std::optional<std::uint8_t> nameLength) {
    std::vector<std::uint8_t> record(kRecordSize, 0);
    const std::size_t length = std::min(drive.name.size(), kNameSize);
    record[0] = nameLength.value_or(static_cast<std::uint8_t>(length));
    std::copy_n(drive.name.begin(), length, record.begin() + 1);
    record[33] = drive.flags;
    record[34] = drive.temperature;
    return record;
}

std::vector<std::uint8_t> EncodeTable(const std::vector<DriveReading>& drives, std::optional<std::uint8_t> nameLength) {
    std::vector<std::uint8_t> table;
    table.reserve(drives.size() * kRecordSize);
    for (const DriveReading& drive : drives) {
        const std::vector<std::uint8_t> record = EncodeRecord(drive, nameLength);
        table.insert(table.end(), record.begin(), record.end());
    }
    return table;
}

std::vector<contract::DriveTraits> TraitsOf(const std::vector<DriveReading>& drives) {
    std::vector<contract::DriveTraits> traits;
    for (const DriveReading& drive : drives)
        traits.push_back(drive.traits);
    return traits;
}

std::vector<std::uint8_t> FitToSize(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

} // namespace service
