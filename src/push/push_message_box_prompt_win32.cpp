#include "push/push_message_box_prompt.h"

#include <windows.h>

bool MessageBoxPushPrompt::AskPresenter(const char* question) {
    return ::MessageBoxA(nullptr, question, kPushPromptCaption, MB_YESNO) == IDYES;
}
