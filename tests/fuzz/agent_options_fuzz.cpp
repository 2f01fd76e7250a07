// The agent's command line. The input is the words after the program's name, each ended by a
// zero byte as in the program's arguments. Options that were accepted must say what the words
// asked for, and the command line written back from them must give the same options.
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
    if (options.mode == AgentMode::help) {
        return {"--help"};
    }
    std::vector<std::string> words;
    if (options.mode == AgentMode::serve) {
        words = {"serve"};
        if (options.nameGiven) {
            words.insert(words.end(), {"--name", options.name});
        }
        if (!options.bindAddress.empty()) {
            words.insert(words.end(), {"--bind", options.bindAddress});
        }
        if (options.verbose) {
            words.push_back("--verbose");
        }
    } else {
        words = {"ask", "--console", options.console};
    }
    if (options.port != 0) {
        words.insert(words.end(), {"--port", std::to_string(options.port)});
    }
    if (!options.reason.empty()) {
        words.push_back(options.reason); // the reason as one word
    }
    return words;
}

bool SameOptions(const AgentOptions& a, const AgentOptions& b) {
    return a.mode == b.mode && a.name == b.name && a.nameGiven == b.nameGiven &&
           a.verbose == b.verbose && a.bindAddress == b.bindAddress && a.console == b.console &&
           a.reason == b.reason && a.port == b.port;
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
    FUZZ_CHECK(options.mode == (words[0] == "serve" ? AgentMode::serve : AgentMode::ask));
    FUZZ_CHECK(words[0] == "serve" || words[0] == "ask");
    if (options.mode == AgentMode::serve) {
        FUZZ_CHECK(options.reason.empty() && options.console.empty());
        FUZZ_CHECK(options.bindAddress.empty() || IsFourNumberAddress(options.bindAddress));
        FUZZ_CHECK(!options.nameGiven || given("--name"));
        FUZZ_CHECK(!options.verbose || given("--verbose"));
    } else {
        FUZZ_CHECK(IsFourNumberAddress(options.console));
        FUZZ_CHECK(options.name.empty() && !options.nameGiven && options.bindAddress.empty());
    }
    FUZZ_CHECK(options.port == 0 || given("--port"));

    // Written back and read again: the same options. An ask's reason can begin with "--"
    // only when an empty word came before it, which writing it back does not repeat.
    if (options.reason.rfind("--", 0) == 0) {
        return 0;
    }
    std::string again;
    const AgentOptions reread = ParseAgentOptions(CommandLine(options), again);
    FUZZ_CHECK(again.empty());
    FUZZ_CHECK(SameOptions(options, reread));
    return 0;
}
