// Replacing a file with another in one step, so that a reader sees either the old content or
// the new, never a file cut short.
#pragma once

#include <string>

namespace platform {

// Moves source over target, replacing target; both in the same folder. On failure target
// keeps its content and source stays where it was.
bool ReplaceFileWith(const std::string& source, const std::string& target);

} // namespace platform
