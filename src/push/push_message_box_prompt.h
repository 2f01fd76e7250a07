// The presenter's Yes/No question about a push request, as the console asks it on Windows:
// a message box of the listener's own thread, with no owner window, so that the console's
// window thread goes on running while it is open.
#pragma once

#include "push/push_prompt.h"

inline constexpr char kPushPromptCaption[] = "prompt";

class MessageBoxPushPrompt final : public PushPrompt {
public:
    // MessageBoxA: no owner, caption "prompt", Yes and No, no icon. Yes is IDYES.
    bool AskPresenter(const char* question) override;
};
