// Reasons typed on Windows are in the ANSI code page, which the console shows them in too.
#include "agent/ask_request.h"
#include "agent/text_cut.h"

#include <windows.h>

std::string CutReason(std::string_view reason, std::size_t maxBytes) {
    return std::string(CutDoubleByte(reason, maxBytes, [](unsigned char byte) {
        return ::IsDBCSLeadByteEx(CP_ACP, byte) != 0;
    }));
}
