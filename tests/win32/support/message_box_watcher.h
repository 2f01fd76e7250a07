// Watches for a message box from another thread, as a user would see it, and answers it.
//
// Start the watcher, then show the box on the test's thread: the watcher finds the box by its
// window class and caption (FindWindow, within 10 s), reads its title, text, owner and icon,
// and presses the answer button. Seen() tells whether a box was found at all. A test that
// must look at the world while the box is still up passes beforeAnswer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class MessageBoxWatcher {
public:
    MessageBoxWatcher(std::string caption, int answer,
                      std::function<void()> beforeAnswer = nullptr);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Waits for the watcher to finish; the fields below are valid afterwards.
    void Join();

    bool Seen() const { return m_seen; }
    const std::string& Title() const { return m_title; }
    const std::string& Text() const { return m_text; }
    HWND Owner() const { return m_owner; }
    HICON Icon() const { return m_icon; }

private:
    void Watch();

    std::string m_caption;
    int m_answer;
    std::function<void()> m_beforeAnswer;
    bool m_seen = false;
    std::string m_title;
    std::string m_text;
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    std::thread m_thread;
};
