// The room password set at install (HKLM\SOFTWARE\ClumaDeck, value "RoomPassword"), empty when
// none is set. Stands in for the platform's shared reader until the viewer builds beside it.
#pragma once

#include <string>

std::string RoomPassword();
