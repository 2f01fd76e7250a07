// Reasons typed on Windows are in the ANSI code page, which the console shows them in too; on
// a PC set to UTF-8 for all programs, that code page is UTF-8.
#include "agent/ask_request.h"
#include "agent/text_cut.h"

#include <windows.h>

std::string CutReason(std::string_view reason, std::size_t maxBytes) {
    return std::string(CutAnsi(reason, maxBytes, ::GetACP(), [](unsigned char byte) {
        return ::IsDBCSLeadByteEx(CP_ACP, byte) != 0;
    }));
}
