// A recipient block's time written, as the tool names it: the sender's
// clock's seconds since 1970-01-01 UTC, to the minute.
#pragma once

#include <cstdint>
#include <string>

namespace quiren::tool {

// "2026-12-11 09:30" (UTC). Years past 9999 are written in full.
std::string utc_minute(std::uint64_t seconds);

}  // namespace quiren::tool
