// Reasons typed on Linux are UTF-8.
#include "agent/ask_request.h"
#include "agent/text_cut.h"

std::string CutReason(std::string_view reason, std::size_t maxBytes) {
    return std::string(CutUtf8(reason, maxBytes));
}
