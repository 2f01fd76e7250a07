// The question the presenter is asked about a push request.
#pragma once

#include "push/push_protocol.h"

#include <cstddef>

// Writes "<name> request push screen ,he/she say <reason>,agree ？" (the question mark is
// the full-width one, GBK bytes 0xA3 0xBF) into the zero-filled 128-byte prompt. The name
// (at most 63 bytes) and the fixed words always appear whole; a reason too long for what is
// left is cut at the last whole character that fits, so the question keeps its end and the
// text never runs past 127 bytes.
void ComposePushPrompt(const char* name, const char* reason, char (&prompt)[kPromptBytes]);

// How many leading bytes of text (length bytes long) fit in limit bytes without splitting a
// double-byte character of the GBK code page (lead bytes 0x81 to 0xFE).
std::size_t WholeCharactersWithin(const char* text, std::size_t length, std::size_t limit);
