// The program's own scan settings report a probe socket that cannot be made non-blocking in
// the message box, and the scan waits while the box is up.
#include "discovery/probe_error_box.h"

#include "platform/net.h"
#include "support/message_box_watcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr char kAppName[] = "cluma_window_class_tests";

TEST(ProbeErrorBox, TheProgramsScanShowsTheBlockModeFailureAndWaitsAtIt) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "cluma_probe_error_box_localIp.txt";
    std::ofstream(file, std::ios::binary) << "127.0.0.1 ";

    ASSERT_TRUE(platform::StartNetworking(1, 1)); // start-up's socket library
    InstallProbeErrorBox();                       // and its reporter
    ScanSettings settings = ProductScanSettings();
    NodeRegistry registry;
    settings.registry = &registry;
    settings.localAddressFile = file.string();
    settings.makeNonBlocking = [](const platform::Socket&) { return false; };
    std::atomic<int> threads{0};
    settings.startThread = [&threads](std::function<void()> body) -> std::optional<std::thread> {
        if (threads++ > 0) {
            return std::nullopt; // one probe thread, so one box
        }
        return StartStdThread(std::move(body));
    };

    std::atomic<bool> scanEnded{false};
    bool endedWhileBoxUp = true;
    MessageBoxWatcher watcher(kAppName, IDOK, [&] { endedWhileBoxUp = scanEnded.load(); });
    std::thread scan([&] {
        ScanSubnet(settings);
        scanEnded = true;
    });
    watcher.Join();
    scan.join();
    std::filesystem::remove(file);
    platform::StopNetworking();

    ASSERT_TRUE(watcher.Seen()) << "no box titled " << kAppName;
    EXPECT_EQ(watcher.Text(), "socket setup block mode failed\n");
    EXPECT_FALSE(endedWhileBoxUp) << "the scan must wait while its probe thread shows the box";
    EXPECT_EQ(threads.load(), 16);
    EXPECT_EQ(registry.Count(), 0u);
}

} // namespace
