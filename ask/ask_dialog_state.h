// What the student's window shows, and what Send, Enter and the end of a request do to it.
// The window class only copies a view into its controls; everything it decides is here.
#pragma once

#include "agent/ask_request.h"

#include <optional>
#include <string>
#include <string_view>

enum class AskPhase {
    editing, // typing a reason; also after a request that failed, to try again
    sending, // a request is on its way; the window stays responsive but sends nothing more,
             // and closing it does not call the request back: its button says Close
    sent,    // the console has the request: nothing more to do but close the window
};

struct AskDialogView {
    bool reasonEditable = true;
    bool sendEnabled = true;
    const char* closeLabel = "Cancel";
    std::string status;
};

class AskDialogState {
public:
    AskPhase Phase() const { return phase_; }
    AskDialogView View() const;

    // Send or Enter: true when a request is to be sent now (only while editing).
    bool StartSending();
    // Enter once the request is sent closes the window, as its only button left does.
    bool EnterCloses() const { return phase_ == AskPhase::sent; }
    // The request's end: description is what happened, in the student's words.
    void Finish(AskOutcome outcome, std::string description);

private:
    AskPhase phase_ = AskPhase::editing;
    std::string status_;
};

// True for the outcomes where the console has the request (read, or queued behind another).
bool AskReachedConsole(AskOutcome outcome);

// The reason edit holds at most the bytes the console reads. Text over the limit (a paste, or
// characters of two bytes each) comes back cut there without splitting a character; nullopt
// when the text fits.
std::optional<std::string> FitReason(std::string_view text);

// The text that the window shows before anything is sent, and while sending.
inline constexpr const char* kAskReadyText =
    "The presenter sees this PC's name and your reason. Press Send (or Enter).";
inline constexpr const char* kAskSendingText =
    "Sending your request... Closing this window does not stop it.";
