// Drive names as the drive table holds them: ANSI, at most 32 bytes, told apart.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace service {

// UTF-8 text (as Linux reports it) in the ANSI code page; characters it lacks become '?'.
std::string Utf8ToAnsi(std::string_view utf8);

// `text` without blanks at either end.
std::string TrimBlanks(std::string_view text);

// The longest start of `ansi` within `limit` bytes that does not split a double-byte character.
std::string CutToBytes(std::string_view ansi, std::size_t limit);

struct NamedDevice {
    std::string name;   // ANSI, any length
    std::string device; // short device name
};

// One table name per drive, in the same order: each cut to 32 bytes; drives whose names
// would come out the same get their device added, "ST3500418AS (1)", the name being
// shortened to make room.
std::vector<std::string> TableNames(const std::vector<NamedDevice>& drives);

} // namespace service
