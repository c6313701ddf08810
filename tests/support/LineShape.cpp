#include "LineShape.h"

#include <regex>
#include <string>

namespace zelmo::test {

bool HasShape(std::wstring_view line, const LineShape& shape) {
    std::wstring pattern = LR"(( \[[A-Z]\] \d+\.\d\dGB)";
    if (shape.totals) {
        pattern += LR"(/\d+\.\d\dGB)";
    }
    pattern += L")+ ";
    if (shape.memory) {
        pattern += LR"(<\d{1,3}% \d+MB> )";
    }
    if (shape.startTime) {
        pattern += LR"(<\d{4}/\d\d/\d\d \d\d:\d\d:\d\d> )";
    }
    if (shape.uptime) {
        pattern += LR"(<(\d+日と)?\d\d:\d\d:\d\d> )";
    }
    return std::regex_match(line.begin(), line.end(), std::wregex(pattern));
}

std::optional<long long> UptimeSeconds(std::wstring_view line) {
    static const std::wregex uptime(LR"(<(?:(\d+)日と)?(\d\d):(\d\d):(\d\d)> $)");
    std::match_results<std::wstring_view::const_iterator> m;
    if (!std::regex_search(line.begin(), line.end(), m, uptime)) {
        return std::nullopt;
    }
    const long long days = m[1].matched ? std::stoll(m[1].str()) : 0;
    return ((days * 24 + std::stoll(m[2].str())) * 60 + std::stoll(m[3].str())) * 60 + std::stoll(m[4].str());
}

} // namespace zelmo::test
