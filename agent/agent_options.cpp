#include "agent/agent_options.h"

#include "agent/option_words.h"

const char* AgentUsage() {
    return "cluma-agent: lets the ClumaDeck console find this machine and lets its user ask the\n"
           "presenter to look at this screen.\n"
           "\n"
           "Usage:\n"
           "  cluma-agent serve [--name NAME] [--bind ADDRESS] [--port PORT] [--console ADDRESS]\n"
           "                    [--state FILE] [--verbose]\n"
           "      Answer the console's search for machines (TCP port 12357) with NAME, the name\n"
           "      the presenter sees in the console's list. NAME defaults to this computer's\n"
           "      name; only its first 63 bytes are shown; an empty NAME sends nothing.\n"
           "      --bind limits the agent to one address of this machine (default: all).\n"
           "      The console that searches this machine is remembered in the state file, for\n"
           "      'ask': never a search from this machine itself (unless ADDRESS of --bind is a\n"
           "      127.x.x.x one), and another console only once the one remembered has not\n"
           "      searched for 70 seconds. The file is written at most once a minute.\n"
           "      --console ADDRESS remembers only that console (others are still answered).\n"
           "      A --bind ADDRESS not on this machine yet is tried again every 5 seconds.\n"
           "      --verbose prints a line for every search answered. Runs until Ctrl+C or a\n"
           "      stop signal. On Linux it refuses to run as root: run it as an unprivileged\n"
           "      user, such as the package's cluma-agent.\n"
           "\n"
           "  cluma-agent ask [--console ADDRESS] [--bind ADDRESS] [--port PORT] [--state FILE]\n"
           "                  [--] REASON...\n"
           "      Ask the presenter to look at this screen: the console that last searched this\n"
           "      machine, or the one at ADDRESS (TCP port 12341). REASON is shown to the\n"
           "      presenter; it is cut to the 128 bytes the console reads. Options end at the\n"
           "      first word of REASON or at '--': every word after is part of REASON.\n"
           "\n"
           "  cluma-agent service install [--name NAME] [--bind ADDRESS] [--port PORT]\n"
           "                              [--console ADDRESS]\n"
           "  cluma-agent service remove\n"
           "      Windows, as an administrator: install the agent as the service\n"
           "      ClumaDeckAgent (started with Windows, runs as LocalService), or stop and\n"
           "      remove it. The options are those of 'serve'. 'service run' is what the\n"
           "      service manager starts.\n"
           "\n"
           "  cluma-agent --help\n"
           "      Show this text.\n"
           "\n"
           "State file: %ProgramData%\\ClumaDeck\\agent-state.txt on Windows;\n"
           "/var/lib/cluma-agent/state for root on Linux, otherwise\n"
           "~/.local/state/cluma-agent/state.\n"
           "The firewall must let TCP 12357 in on this machine, and TCP 12341 in on the\n"
           "presenter's PC.\n";
}

namespace {

// Which options each command takes.
bool Takes(AgentMode mode, const std::string& option) {
    switch (mode) {
    case AgentMode::serve:
        return option == "--name" || option == "--bind" || option == "--port" ||
               option == "--console" || option == "--state" || option == "--verbose";
    case AgentMode::ask:
        return option == "--bind" || option == "--port" || option == "--console" ||
               option == "--state";
    case AgentMode::serviceInstall:
        return option == "--name" || option == "--bind" || option == "--port" ||
               option == "--console";
    default:
        return false;
    }
}

bool SetValue(AgentOptions& options, const std::string& option, const std::string& value,
              std::string& error) {
    if (option == "--name") {
        options.name = value;
        options.nameGiven = true;
    } else if (option == "--state") {
        if (value.empty()) {
            error = "--state needs a file name";
            return false;
        }
        options.statePath = value;
    } else if (option == "--bind") {
        options.bindAddress = value;
        if (!IsFourNumberAddress(value)) {
            error = "--bind needs an address such as 192.168.1.23, not '" + value + "'";
            return false;
        }
    } else if (option == "--console") {
        options.console = value;
        if (!IsFourNumberAddress(value)) {
            error =
                "--console needs the presenter's address such as 192.168.1.10, not '" + value + "'";
            return false;
        }
    } else if (option == "--port") {
        if (!ParsePortWord(value, options.port)) {
            error = "--port needs a number from 1 to 65535, not '" + value + "'";
            return false;
        }
    }
    return true;
}

} // namespace

AgentOptions ParseAgentOptions(const std::vector<std::string>& words, std::string& error) {
    AgentOptions options;
    error.clear();
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        return options;
    }
    std::size_t first = 1;
    std::string command = words[0];
    if (words[0] == "serve") {
        options.mode = AgentMode::serve;
    } else if (words[0] == "ask") {
        options.mode = AgentMode::ask;
    } else if (words[0] == "service") {
        std::string action = words.size() > 1 ? words[1] : "";
        command = "service " + action;
        first = 2;
        if (action == "install") {
            options.mode = AgentMode::serviceInstall;
        } else if (action == "remove") {
            options.mode = AgentMode::serviceRemove;
        } else if (action == "run") {
            options.mode = AgentMode::serviceRun;
        } else {
            error = "service needs 'install', 'remove' or 'run'";
            return options;
        }
    } else {
        error = "unknown command '" + words[0] + "' (use 'serve', 'ask' or 'service')";
        return options;
    }
    std::vector<std::string> reasonWords;
    // Options end at "--" and at the reason's first word: from there on every word is the
    // reason's, so a student may ask "how do I use --port in ssh".
    bool optionsEnded = false;
    for (std::size_t i = first; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded) {
            if (options.mode != AgentMode::ask) {
                error = "unexpected word '" + word + "'";
                return options;
            }
            reasonWords.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            options.mode = AgentMode::help;
            return options;
        }
        bool isOption = word.size() > 2 && word[0] == '-' && word[1] == '-';
        if (!isOption) {
            if (options.mode != AgentMode::ask) {
                error = "unexpected word '" + word + "'";
                return options;
            }
            optionsEnded = true;
            reasonWords.push_back(word);
            continue;
        }
        if (!Takes(options.mode, word)) {
            bool known = word == "--name" || word == "--bind" || word == "--port" ||
                         word == "--console" || word == "--state" || word == "--verbose";
            error = known ? word + " does not belong to '" + command + "'"
                          : "unknown option '" + word + "'";
            return options;
        }
        if (word == "--verbose") {
            options.verbose = true;
            continue;
        }
        if (i + 1 >= words.size()) {
            error = word + " needs a value";
            return options;
        }
        if (!SetValue(options, word, words[++i], error)) {
            return options;
        }
    }
    for (const std::string& word : reasonWords) {
        options.reason += (options.reason.empty() ? "" : " ") + word;
    }
    return options;
}
