#pragma once
// The shape of a status line as the tests read it: which segments it carries, and its uptime in seconds.
#include <optional>
#include <string_view>

namespace zelmo::test {

// Which segments a status line is expected to carry; at least one drive is always there.
struct LineShape {
    bool totals, memory, startTime, uptime;
};

// True when the whole line is drives (with their totals when asked), then the memory, start time and uptime
// segments asked for, each followed by one space, and nothing else.
bool HasShape(std::wstring_view line, const LineShape& shape);

// The uptime segment at the end of the line in seconds; nullopt when the line ends otherwise.
std::optional<long long> UptimeSeconds(std::wstring_view line);

} // namespace zelmo::test
