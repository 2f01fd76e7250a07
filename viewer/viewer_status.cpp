#include "viewer/viewer_status.h"

#include <utility>

ViewerStatus::ViewerStatus(std::string address, std::uint16_t port)
    : address_(std::move(address)), port_(port) {}

StatusAction ViewerStatus::Start() {
    attempt_ = 0;
    if (address_.empty()) {
        phase_ = ViewerPhase::noAddress;
        return StatusAction::none;
    }
    phase_ = ViewerPhase::connecting;
    return StatusAction::connect;
}

StatusAction ViewerStatus::OnOutcome(ConnectionOutcome outcome) {
    if (phase_ != ViewerPhase::connecting && phase_ != ViewerPhase::connected &&
        phase_ != ViewerPhase::reconnecting) {
        return StatusAction::none; // no attempt runs: a late report of an ended one
    }
    if (outcome == ConnectionOutcome::connected) {
        phase_ = ViewerPhase::connected;
        attempt_ = 0;
        return StatusAction::none;
    }
    if (outcome == ConnectionOutcome::wrongPassword) {
        phase_ = ViewerPhase::wrongPassword; // trying again on its own cannot help
        return StatusAction::none;
    }
    if (phase_ == ViewerPhase::connected || phase_ == ViewerPhase::reconnecting) {
        if (attempt_ < kMaxReconnects) {
            ++attempt_;
            phase_ = ViewerPhase::reconnecting;
            return StatusAction::armRetryTimer;
        }
        phase_ = ViewerPhase::lost;
        return StatusAction::none;
    }
    switch (outcome) {
    case ConnectionOutcome::refused:
        phase_ = ViewerPhase::refused;
        break;
    case ConnectionOutcome::unreachable:
        phase_ = ViewerPhase::unreachable;
        break;
    default:
        phase_ = ViewerPhase::refused; // ended before the desktop came: turned away
        break;
    }
    return StatusAction::none;
}

StatusAction ViewerStatus::OnRetryTimer() {
    return phase_ == ViewerPhase::reconnecting ? StatusAction::connect : StatusAction::none;
}

bool ViewerStatus::CanTryAgain() const {
    return phase_ == ViewerPhase::refused || phase_ == ViewerPhase::wrongPassword ||
           phase_ == ViewerPhase::unreachable || phase_ == ViewerPhase::lost ||
           phase_ == ViewerPhase::reconnecting;
}

std::string ViewerStatus::Text() const {
    const std::string& a = address_;
    const std::string again = "\nChoose Try again (F5) to connect again.";
    switch (phase_) {
    case ViewerPhase::noAddress:
        return "No PC to watch: korvidVi.exe was started without an address.\nStart it with the "
               "PC's address, for example: korvidVi.exe 192.168.1.23 /password PASSWORD";
    case ViewerPhase::connecting:
        return "Connecting to " + a + "...";
    case ViewerPhase::connected:
        return "";
    case ViewerPhase::refused:
        return a +
               " refused the connection: its screen server is not running, or it does not "
               "let this PC watch." +
               again;
    case ViewerPhase::wrongPassword:
        return a + " did not accept the password: this PC and " + a +
               " were not installed with the same room password." + again;
    case ViewerPhase::unreachable:
        return a + " cannot be reached: it may be switched off or not on the network." + again;
    case ViewerPhase::reconnecting:
        return "The connection to " + a + " was lost. Reconnecting (try " +
               std::to_string(attempt_) + " of " + std::to_string(kMaxReconnects) + ")...";
    case ViewerPhase::lost:
        return "The connection to " + a + " was lost, and " + std::to_string(kMaxReconnects) +
               " tries to reconnect failed." + again;
    }
    return "";
}

std::string ViewerStatus::LogLine(const std::string& desktopName) const {
    const std::string where = address_ + ":" + std::to_string(port_);
    switch (phase_) {
    case ViewerPhase::noAddress:
        return "korvidVi: no address given";
    case ViewerPhase::connecting:
        return "korvidVi: connecting to " + where;
    case ViewerPhase::connected:
        return "korvidVi: connected to " + where + " (" + desktopName + ")";
    case ViewerPhase::refused:
        return "korvidVi: refused by " + where;
    case ViewerPhase::wrongPassword:
        return "korvidVi: wrong password for " + where;
    case ViewerPhase::unreachable:
        return "korvidVi: cannot reach " + where;
    case ViewerPhase::reconnecting:
        return "korvidVi: lost " + where + ", reconnecting (try " + std::to_string(attempt_) +
               " of " + std::to_string(kMaxReconnects) + ")";
    case ViewerPhase::lost:
        return "korvidVi: lost " + where;
    }
    return "";
}
