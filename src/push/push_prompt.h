// How the push request listener asks the presenter. The console asks in a Yes/No message box
// of the listener's own thread; tests answer with a recording double.
#pragma once

class PushPrompt {
public:
    virtual ~PushPrompt() = default;
    // Shows the zero-terminated question and waits for the presenter: true for Yes.
    virtual bool AskPresenter(const char* question) = 0;
};
