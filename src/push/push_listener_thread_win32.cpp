#include "push/push_listener_thread.h"

#include "push/log_directory.h"
#include "push/push_listener.h"
#include "push/push_message_box_prompt.h"

#include <atomic>

namespace {

// Set by start-up before the thread starts; read on the listener thread at each Yes.
std::atomic<PushViewerLauncher> viewerLauncher{nullptr};

void LaunchViewerOnYes(const char* address) {
    if (PushViewerLauncher launch = viewerLauncher.load()) {
        launch(address);
    }
}

} // namespace

void SetPushViewerLauncher(PushViewerLauncher launch) {
    viewerLauncher.store(launch);
}

void PushListenerThread(void*) {
    MessageBoxPushPrompt prompt;
    PushThreadSettings settings;
    settings.dayLog = DayLogSettings{LogDirectory, ReadLocalClock};
    settings.listener.prompt = &prompt;
    settings.listener.launchViewer = LaunchViewerOnYes;
    RunPushListenerThread(settings);
}
