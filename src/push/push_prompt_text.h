// The question the presenter is asked about a push request.
#pragma once

#include "push/push_protocol.h"

// Writes "<name> request push screen ,he/she say <reason>,agree ？" (the question mark is
// the full-width one, GBK bytes 0xA3 0xBF) into the zero-filled prompt. The name is taken up
// to 63 bytes and the reason up to 128, as they arrive; both always fit whole.
void ComposePushPrompt(const char* name, const char* reason, char (&prompt)[kPromptBytes]);
