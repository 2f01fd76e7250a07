// DDX_ByteEdit for a dialog's DoDataExchange: one of the dialog's edit controls exchanged with
// an 8-bit member of 0 to limit shown in decimal (the rules are in byte_edit_exchange.h).
#pragma once

#include "framework/CDataExchange.h"

#include <cstdint>

void DDX_ByteEdit(CDataExchange* pDX, int nIDC, std::uint8_t& value, std::uint8_t limit);
