// The agent's state file, the console it remembers: the input is the file's content. Only
// exactly what the agent writes may be trusted, so a state read from a text must write back as
// that same text, and a text of that form must be read; the file gives what its text gives.
#include "agent/console_state.h"
#include "fuzz_input.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// A folder of this process's own, removed at exit; in memory where the system offers it.
const std::string& Folder() {
    static const std::string* folder = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string made = (base / "cluma-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(made.data()) != nullptr);
        static std::string created = made;
        std::atexit([] { std::filesystem::remove_all(created); });
        return new std::string(made);
    }();
    return *folder;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(content.data(), 1, content.size(), file) == content.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

// The C library's own dotted form: what it reads and writes back the same, for a peer (neither
// the "any" nor the broadcast address).
bool IsPeerAddressText(const std::string& text) {
    in_addr address{};
    char written[INET_ADDRSTRLEN] = {};
    return inet_pton(AF_INET, text.c_str(), &address) == 1 &&
           inet_ntop(AF_INET, &address, written, sizeof written) != nullptr && text == written &&
           text != "0.0.0.0" && text != "255.255.255.255";
}

// "console A\nlocal B\n" with two peer addresses.
bool HasTheWrittenForm(const std::string& text) {
    const std::string console = "console ";
    const std::string local = "local ";
    if (text.compare(0, console.size(), console) != 0) {
        return false;
    }
    const std::size_t firstEnd = text.find('\n');
    const std::size_t second = firstEnd + 1;
    if (firstEnd == std::string::npos || text.compare(second, local.size(), local) != 0) {
        return false;
    }
    const std::size_t secondEnd = text.find('\n', second);
    if (secondEnd != text.size() - 1) {
        return false;
    }
    return IsPeerAddressText(text.substr(console.size(), firstEnd - console.size())) &&
           IsPeerAddressText(text.substr(second + local.size(), secondEnd - second - local.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string text = input.Rest();
    const std::optional<ConsoleState> state = ParseConsoleState(text);
    FUZZ_CHECK(state.has_value() == HasTheWrittenForm(text));
    if (state) {
        FUZZ_CHECK(FormatConsoleState(*state) == text);
        FUZZ_CHECK(text.size() <= kMaxConsoleStateBytes);
        FUZZ_CHECK(IsDottedAddress(state->console) && IsDottedAddress(state->local));
    }
    const bool holdsZero = text.find('\0') != std::string::npos;
    FUZZ_CHECK(IsDottedAddress(text) == (!holdsZero && IsPeerAddressText(text)));

    // The file holds what its text holds; a state read from it is written back the same.
    const std::string path = Folder() + "/state";
    WriteFile(path, text);
    FUZZ_CHECK(ReadConsoleState(path) == state);
    if (state) {
        std::string error;
        const std::string again = Folder() + "/again/state";
        FUZZ_CHECK(WriteConsoleState(again, *state, error));
        FUZZ_CHECK(ReadConsoleState(again) == state);
        // Each write's temporary file has a name of its own: none may be left beside the file.
        const auto entries = std::filesystem::directory_iterator(Folder() + "/again");
        FUZZ_CHECK(std::distance(begin(entries), end(entries)) == 1);
    }
    return 0;
}
