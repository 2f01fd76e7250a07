#include "screen/screen_options.h"

#include "agent/option_words.h"

ScreenOptions ParseScreenOptions(const std::vector<std::string>& words, std::string& error) {
    ScreenOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h" || word == "/?") {
            options.help = true;
        } else if (word == "--port") {
            if (i + 1 >= words.size()) {
                error = "--port needs a port number from 1 to 65535";
                return options;
            }
            if (!ParsePortWord(words[++i], options.port)) {
                error = "--port needs a port number from 1 to 65535, not '" + words[i] + "'";
                return options;
            }
        } else {
            error = "unknown option '" + word + "'";
            return options;
        }
    }
    return options;
}

const char* ScreenUsage() {
    return "Usage: cluma-screen [--port N]\n"
           "Serves this PC's screen to the ClumaDeck console that this PC trusts (the agent's\n"
           "pinned console, else the one that last searched it), on TCP port N (5900).\n";
}
