#include "ask/ask_options.h"

#include "agent/option_words.h"

const char* AskUsage() {
    return "ClumaAsk asks the presenter's console to look at this screen. It needs no options:\n"
           "it asks the console that last searched this PC.\n"
           "\n"
           "ClumaAsk.exe [--console ADDRESS] [--bind ADDRESS] [--state FILE] [--port PORT]\n"
           "\n"
           "--console ADDRESS  ask the console at this address instead\n"
           "--bind ADDRESS     send from this address of this PC\n"
           "--state FILE       read the remembered console from FILE\n"
           "--port PORT        the console's port (default 12341)";
}

std::optional<AskOptions> ParseAskOptions(const std::vector<std::string>& words,
                                          std::string& error) {
    AskOptions options;
    error.clear();
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word != "--console" && word != "--bind" && word != "--state" && word != "--port") {
            error = "unknown option '" + word + "'";
            return std::nullopt;
        }
        if (i + 1 == words.size()) {
            error = word + " needs a value";
            return std::nullopt;
        }
        const std::string& value = words[++i];
        if (word == "--port") {
            if (!ParsePortWord(value, options.port)) {
                error = "--port needs a number from 1 to 65535, not '" + value + "'";
                return std::nullopt;
            }
        } else if (word == "--state") {
            if (value.empty()) {
                error = "--state needs a file name";
                return std::nullopt;
            }
            options.statePath = value;
        } else {
            if (!IsFourNumberAddress(value)) {
                error = word + " needs an address such as 192.168.1.10, not '" + value + "'";
                return std::nullopt;
            }
            (word == "--console" ? options.console : options.bind) = value;
        }
    }
    return options;
}
