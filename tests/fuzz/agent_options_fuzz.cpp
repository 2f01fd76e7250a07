// The agent's command line. The input is the words after the program's name, each ended by a
// zero byte as in the program's arguments. Accepted options must hold only what their command
// takes, the reason must be all the words from where the options end, and the command line
// written back from the options must give the same options.
#include "agent/agent_options.h"
#include "fuzz_input.h"
#include "platform/net.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string& bytes) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        words.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// Four dotted numbers that the system reads as an address.
bool IsFourNumberAddress(const std::string& text) {
    std::uint32_t ignored = 0;
    return std::count(text.begin(), text.end(), '.') == 3 &&
           platform::ParseIpv4(text.c_str(), ignored);
}

// The shortest command line for the options.
std::vector<std::string> CommandLine(const AgentOptions& options) {
    const auto add = [](std::vector<std::string>& words, const char* option,
                        const std::string& value) {
        if (!value.empty()) {
            words.insert(words.end(), {option, value});
        }
    };
    std::vector<std::string> words;
    switch (options.mode) {
    case AgentMode::help:
        return {"--help"};
    case AgentMode::serviceRemove:
        return {"service", "remove"};
    case AgentMode::serviceRun:
        return {"service", "run"};
    case AgentMode::serviceInstall:
        words = {"service", "install"};
        break;
    case AgentMode::serve:
        words = {"serve"};
        break;
    case AgentMode::ask:
        words = {"ask"};
        break;
    }
    if (options.nameGiven) {
        words.insert(words.end(), {"--name", options.name});
    }
    add(words, "--bind", options.bindAddress);
    add(words, "--console", options.console);
    add(words, "--state", options.statePath);
    add(words, "--port", options.port != 0 ? std::to_string(options.port) : "");
    if (options.verbose) {
        words.push_back("--verbose");
    }
    if (!options.reason.empty()) {
        // The reason as one word; after "--" when it could be taken for an option.
        if (options.reason[0] == '-') {
            words.push_back("--");
        }
        words.push_back(options.reason);
    }
    return words;
}

// The words from index first on, joined as the reason joins them (empty words before the first
// non-empty one leave no space).
std::string Joined(const std::vector<std::string>& words, std::size_t first) {
    std::string joined;
    for (std::size_t i = first; i < words.size(); ++i) {
        joined += (joined.empty() ? "" : " ") + words[i];
    }
    return joined;
}

bool SameOptions(const AgentOptions& a, const AgentOptions& b) {
    return a.mode == b.mode && a.name == b.name && a.nameGiven == b.nameGiven &&
           a.verbose == b.verbose && a.bindAddress == b.bindAddress && a.console == b.console &&
           a.statePath == b.statePath && a.reason == b.reason && a.port == b.port;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::vector<std::string> words = Words(input.Rest());
    std::string error;
    const AgentOptions options = ParseAgentOptions(words, error);
    if (!error.empty()) {
        // A mistake is named on one line, unless it quotes a word that holds a line end.
        const bool wordWithLineEnd = std::any_of(words.begin(), words.end(), [](const auto& w) {
            return w.find('\n') != std::string::npos;
        });
        FUZZ_CHECK(wordWithLineEnd || error.find('\n') == std::string::npos);
        return 0;
    }

    const auto given = [&](const char* word) {
        return std::find(words.begin(), words.end(), word) != words.end();
    };
    if (options.mode == AgentMode::help) {
        FUZZ_CHECK(words.empty() || words[0] == "help" || given("--help") || given("-h"));
        return 0;
    }
    // Only what the command takes, each address four numbers.
    const bool serve = options.mode == AgentMode::serve;
    const bool ask = options.mode == AgentMode::ask;
    const bool install = options.mode == AgentMode::serviceInstall;
    FUZZ_CHECK(words[0] == (serve ? "serve" : ask ? "ask" : "service"));
    FUZZ_CHECK(!options.nameGiven || ((serve || install) && given("--name")));
    FUZZ_CHECK(options.name.empty() || options.nameGiven);
    FUZZ_CHECK(!options.verbose || (serve && given("--verbose")));
    FUZZ_CHECK(options.bindAddress.empty() ||
               ((serve || ask || install) && IsFourNumberAddress(options.bindAddress)));
    FUZZ_CHECK(options.console.empty() ||
               ((serve || ask || install) && IsFourNumberAddress(options.console)));
    FUZZ_CHECK(options.statePath.empty() || ((serve || ask) && given("--state")));
    FUZZ_CHECK(options.reason.empty() || ask);
    FUZZ_CHECK(options.port == 0 || ((serve || ask || install) && given("--port")));

    // Options end where the reason begins: the reason is every word from some word on, and the
    // words before it alone give the same options without a reason.
    if (!options.reason.empty()) {
        std::size_t first = 1;
        while (first < words.size() && Joined(words, first) != options.reason) {
            ++first;
        }
        FUZZ_CHECK(first < words.size());
        std::string headError;
        AgentOptions head = ParseAgentOptions({words.begin(), words.begin() + first}, headError);
        FUZZ_CHECK(headError.empty());
        head.reason = options.reason;
        FUZZ_CHECK(SameOptions(options, head));
    }

    // Written back and read again: the same options.
    std::string again;
    const AgentOptions reread = ParseAgentOptions(CommandLine(options), again);
    FUZZ_CHECK(again.empty());
    FUZZ_CHECK(SameOptions(options, reread));
    return 0;
}
