#include "ask/ask_dialog_state.h"

#include "push/push_protocol.h"

#include <utility>

bool AskReachedConsole(AskOutcome outcome) {
    return outcome == AskOutcome::delivered || outcome == AskOutcome::waiting;
}

AskDialogView AskDialogState::View() const {
    AskDialogView view;
    switch (phase_) {
    case AskPhase::editing:
        view.status = status_.empty() ? kAskReadyText : status_;
        break;
    case AskPhase::sending:
        // Once Send is pressed the request is out of the window's hands: on a working network
        // the console has it within milliseconds, and no later press could call it back.
        view.reasonEditable = false;
        view.sendEnabled = false;
        view.closeLabel = "Close";
        view.status = kAskSendingText;
        break;
    case AskPhase::sent:
        view.reasonEditable = false;
        view.sendEnabled = false;
        view.closeLabel = "Close";
        view.status = status_;
        break;
    }
    return view;
}

bool AskDialogState::StartSending() {
    if (phase_ != AskPhase::editing) {
        return false;
    }
    phase_ = AskPhase::sending;
    return true;
}

void AskDialogState::Finish(AskOutcome outcome, std::string description) {
    if (phase_ != AskPhase::sending) {
        return;
    }
    phase_ = AskReachedConsole(outcome) ? AskPhase::sent : AskPhase::editing;
    status_ = std::move(description);
}

std::optional<std::string> FitReason(std::string_view text) {
    if (text.size() <= static_cast<std::size_t>(kMaxReasonBytes)) {
        return std::nullopt;
    }
    return CutReason(text, kMaxReasonBytes);
}
