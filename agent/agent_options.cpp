#include "agent/agent_options.h"

#include "platform/net.h"

#include <cstdlib>

namespace {

bool ParsePort(const std::string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

bool IsAddress(const std::string& text) {
    std::uint32_t ignored = 0;
    // inet_addr also takes short forms such as "10.1"; a technician means four numbers.
    int dots = 0;
    for (char c : text) {
        dots += c == '.';
    }
    return dots == 3 && platform::ParseIpv4(text.c_str(), ignored);
}

} // namespace

const char* AgentUsage() {
    return "cluma-agent: lets the ClumaDeck console find this machine and lets its user ask the\n"
           "presenter to look at this screen.\n"
           "\n"
           "Usage:\n"
           "  cluma-agent serve [--name NAME] [--bind ADDRESS] [--port PORT] [--verbose]\n"
           "      Answer the console's search for machines (TCP port 12357) with NAME, the name\n"
           "      the presenter sees in the console's list. NAME defaults to this computer's\n"
           "      name; only its first 63 bytes are shown; an empty NAME sends nothing. --bind "
           "limits the agent to one\n"
           "      address of this machine (default: all). --verbose prints a line for\n"
           "      every search answered. Runs until Ctrl+C or a stop signal.\n"
           "\n"
           "  cluma-agent ask --console ADDRESS [--port PORT] REASON...\n"
           "      Ask the presenter's console at ADDRESS (TCP port 12341) to look at this\n"
           "      screen. REASON is shown to the presenter; only its first 128 bytes are read.\n"
           "\n"
           "  cluma-agent --help\n"
           "      Show this text.\n"
           "\n"
           "The firewall must let TCP 12357 in on this machine, and TCP 12341 in on the\n"
           "presenter's PC.\n";
}

AgentOptions ParseAgentOptions(const std::vector<std::string>& words, std::string& error) {
    AgentOptions options;
    error.clear();
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        return options;
    }
    if (words[0] == "serve") {
        options.mode = AgentMode::serve;
    } else if (words[0] == "ask") {
        options.mode = AgentMode::ask;
    } else {
        error = "unknown command '" + words[0] + "' (use 'serve' or 'ask')";
        return options;
    }
    std::vector<std::string> reasonWords;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        bool takesValue =
            word == "--name" || word == "--bind" || word == "--port" || word == "--console";
        if (word == "--verbose" && options.mode == AgentMode::serve) {
            options.verbose = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            options.mode = AgentMode::help;
            return options;
        }
        if (takesValue && i + 1 >= words.size()) {
            error = word + " needs a value";
            return options;
        }
        bool serveOnly = word == "--name" || word == "--bind";
        if ((serveOnly && options.mode != AgentMode::serve) ||
            (word == "--console" && options.mode != AgentMode::ask)) {
            error = word + " does not belong to '" + words[0] + "'";
            return options;
        }
        if (word == "--name") {
            options.name = words[++i];
            options.nameGiven = true;
        } else if (word == "--bind") {
            options.bindAddress = words[++i];
            if (!IsAddress(options.bindAddress)) {
                error = "--bind needs an address such as 192.168.1.23, not '" +
                        options.bindAddress + "'";
                return options;
            }
        } else if (word == "--console") {
            options.console = words[++i];
            if (!IsAddress(options.console)) {
                error = "--console needs the presenter's address such as 192.168.1.10, not '" +
                        options.console + "'";
                return options;
            }
        } else if (word == "--port") {
            if (!ParsePort(words[++i], options.port)) {
                error = "--port needs a number from 1 to 65535, not '" + words[i] + "'";
                return options;
            }
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-' && reasonWords.empty()) {
            error = "unknown option '" + word + "'";
            return options;
        } else if (options.mode == AgentMode::ask) {
            reasonWords.push_back(word);
        } else {
            error = "unexpected word '" + word + "'";
            return options;
        }
    }
    if (options.mode == AgentMode::ask) {
        if (options.console.empty()) {
            error = "ask needs --console ADDRESS, the presenter's address";
            return options;
        }
        for (const std::string& word : reasonWords) {
            options.reason += (options.reason.empty() ? "" : " ") + word;
        }
    }
    return options;
}
