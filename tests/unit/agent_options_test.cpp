#include "agent/agent_options.h"

#include <gtest/gtest.h>

namespace {

struct GoodCase {
    std::vector<std::string> words;
    AgentMode mode;
    std::string name;
    std::string bind;
    std::string console;
    std::string reason;
    std::uint16_t port;
};

TEST(AgentOptions, AcceptsWhatATechnicianTypes) {
    const GoodCase cases[] = {
        {{}, AgentMode::help, "", "", "", "", 0},
        {{"--help"}, AgentMode::help, "", "", "", "", 0},
        {{"serve", "--help"}, AgentMode::help, "", "", "", "", 0},
        {{"serve"}, AgentMode::serve, "", "", "", "", 0},
        {{"serve", "--name", "PC-07", "--bind", "127.0.0.7", "--port", "40000"},
         AgentMode::serve,
         "PC-07",
         "127.0.0.7",
         "",
         "",
         40000},
        {{"serve", "--name", ""}, AgentMode::serve, "", "", "", "", 0},
        {{"ask", "--console", "192.168.1.10", "please", "look"},
         AgentMode::ask,
         "",
         "",
         "192.168.1.10",
         "please look",
         0},
        // Options end at the reason's first word and at "--".
        {{"ask", "please", "--console", "10.0.0.1", "--port", "12341"},
         AgentMode::ask,
         "",
         "",
         "",
         "please --console 10.0.0.1 --port 12341",
         0},
        {{"ask", "--console", "10.0.0.1", "how", "do", "I", "use", "--port", "in", "ssh"},
         AgentMode::ask,
         "",
         "",
         "10.0.0.1",
         "how do I use --port in ssh",
         0},
        {{"ask", "--port", "4000", "--", "--help", "me"},
         AgentMode::ask,
         "",
         "",
         "",
         "--help me",
         4000},
        {{"ask", "what", "is", "-h"}, AgentMode::ask, "", "", "", "what is -h", 0},
        {{"serve", "--"}, AgentMode::serve, "", "", "", "", 0},
        {{"ask", "--console", "10.0.0.1"}, AgentMode::ask, "", "", "10.0.0.1", "", 0},
        {{"ask", "hello"}, AgentMode::ask, "", "", "", "hello", 0},
        {{"ask", "--bind", "127.0.0.7", "why", "--", "--verbose"},
         AgentMode::ask,
         "",
         "127.0.0.7",
         "",
         "why -- --verbose",
         0},
        {{"serve", "--console", "10.0.0.1"}, AgentMode::serve, "", "", "10.0.0.1", "", 0},
        {{"service", "install", "--name", "PC 7", "--port", "4000", "--console", "10.0.0.1"},
         AgentMode::serviceInstall,
         "PC 7",
         "",
         "10.0.0.1",
         "",
         4000},
        {{"service", "install", "--bind", "127.0.0.7"},
         AgentMode::serviceInstall,
         "",
         "127.0.0.7",
         "",
         "",
         0},
        {{"service", "remove"}, AgentMode::serviceRemove, "", "", "", "", 0},
        {{"service", "run"}, AgentMode::serviceRun, "", "", "", "", 0},
    };
    for (const GoodCase& c : cases) {
        std::string joined;
        for (const std::string& word : c.words) {
            joined += word + " ";
        }
        SCOPED_TRACE(joined);
        std::string error;
        AgentOptions options = ParseAgentOptions(c.words, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(options.mode, c.mode);
        EXPECT_EQ(options.name, c.name);
        EXPECT_EQ(options.bindAddress, c.bind);
        EXPECT_EQ(options.console, c.console);
        EXPECT_EQ(options.reason, c.reason);
        EXPECT_EQ(options.port, c.port);
    }
}

TEST(AgentOptions, StateFileIsTakenByServeAndAsk) {
    for (const char* command : {"serve", "ask"}) {
        SCOPED_TRACE(command);
        std::string error;
        AgentOptions options = ParseAgentOptions({command, "--state", "/tmp/s"}, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(options.statePath, "/tmp/s");
    }
}

struct BadCase {
    std::vector<std::string> words;
    const char* errorMentions;
};

TEST(AgentOptions, RejectsMistakesWithAMessageThatNamesThem) {
    const BadCase cases[] = {
        {{"start"}, "unknown command 'start'"},
        {{"serve", "--name"}, "--name needs a value"},
        {{"serve", "--port", "0"}, "1 to 65535"},
        {{"serve", "--port", "65536"}, "1 to 65535"},
        {{"serve", "--port", "-5"}, "1 to 65535"},
        {{"serve", "--port", "12x"}, "1 to 65535"},
        {{"serve", "--port", "999999999999"}, "1 to 65535"},
        {{"serve", "--bind", "localhost"}, "--bind needs an address"},
        {{"serve", "--bind", "10.1"}, "--bind needs an address"},
        {{"serve", "--bind", "300.1.1.1"}, "--bind needs an address"},
        {{"serve", "extra"}, "unexpected word 'extra'"},
        {{"ask", "--name", "x", "--console", "10.0.0.1"}, "does not belong to 'ask'"},
        {{"ask", "--console", "presenter"}, "--console needs the presenter's address"},
        {{"ask", "--verbose", "--console", "10.0.0.1"}, "--verbose does not belong to 'ask'"},
        {{"ask", "--loud"}, "unknown option '--loud'"},
        {{"ask", "--state"}, "--state needs a value"},
        {{"serve", "--state", ""}, "--state needs a file name"},
        {{"service"}, "service needs 'install', 'remove' or 'run'"},
        {{"service", "start"}, "service needs 'install', 'remove' or 'run'"},
        {{"service", "install", "--state", "x"}, "does not belong to 'service install'"},
        {{"service", "install", "--bind", "PC-07"}, "--bind needs an address"},
        {{"service", "remove", "--name", "x"}, "does not belong to 'service remove'"},
        {{"service", "run", "extra"}, "unexpected word 'extra'"},
        {{"serve", "--", "--verbose"}, "unexpected word '--verbose'"},
    };
    for (const BadCase& c : cases) {
        std::string joined;
        for (const std::string& word : c.words) {
            joined += word + " ";
        }
        SCOPED_TRACE(joined);
        std::string error;
        ParseAgentOptions(c.words, error);
        EXPECT_NE(error.find(c.errorMentions), std::string::npos) << "error was: " << error;
    }
}

} // namespace
