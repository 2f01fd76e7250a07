// What the probe makes of an agent's answer: the input is the answer, sent by an agent on
// 127.0.0.1 to a real probe of 127.0.0.1 to 127.0.0.16; the record, the console's node list
// and the viewer's window title are then checked against the bytes sent.
#include "console/viewer_texts.h"
#include "discovery/node_list_refresh.h"
#include "discovery/node_registry.h"
#include "discovery/subnet_probe.h"
#include "fuzz_input.h"
#include "platform/net.h"

#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// An agent on 127.0.0.1 that answers every connection with the current answer and closes it.
// Its thread runs until the process ends. The probe waits for each answer to end (below), so
// each connection is answered with the answer of the input that made it.
class AnsweringAgent {
public:
    AnsweringAgent() {
        int error = 0;
        listener_ = platform::Listen("127.0.0.1", 0, 16, error);
        FUZZ_CHECK_CALL(listener_.Valid());
        port_ = platform::LocalPort(listener_);
        std::thread([this] { Serve(); }).detach();
    }

    std::uint16_t Port() const { return port_; }

    void SetAnswer(const std::string& answer) {
        std::lock_guard<std::mutex> hold(lock_);
        answer_ = answer;
    }

private:
    void Serve() {
        for (;;) {
            std::string peer;
            platform::Socket connection = platform::Accept(listener_, peer);
            if (!connection.Valid()) {
                continue;
            }
            std::string answer;
            {
                std::lock_guard<std::mutex> hold(lock_);
                answer = answer_;
            }
            if (!answer.empty()) {
                platform::Send(connection, answer.data(), static_cast<int>(answer.size()));
            }
        }
    }

    platform::Socket listener_;
    std::uint16_t port_ = 0;
    std::mutex lock_;
    std::string answer_; // set before each probe connects
};

class RecordingList final : public NodeListView {
public:
    void DeleteAllItems() override { items.clear(); }
    void Hide() override {}
    void Show() override {}
    void InsertItem(int position, const char* text) override {
        FUZZ_CHECK(position == static_cast<int>(items.size()));
        items.emplace_back(text);
    }
    std::vector<std::string> items;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Never destroyed: its thread waits in accept until the process ends.
    static AnsweringAgent* agent = new AnsweringAgent;
    FuzzInput input(data, size);
    const std::string answer = input.Rest();
    agent->SetAnswer(answer);

    NodeRegistry registry;
    ScanSettings settings;
    settings.registry = &registry;
    settings.port = agent->Port();
    // The name is awaited until the agent's answer (or, for an empty one, its close) is there:
    // what the probe makes of an answer is the property, not how soon the agent's thread ran.
    settings.waitForName = [](const platform::Socket& socket, const char*, int) {
        platform::Wait ended = platform::WaitReadable(socket, 10000);
        FUZZ_CHECK(ended == platform::Wait::ready); // else the agent never answered
        return ended;
    };
    const ProbeContext context{&settings, "127.0.0"};
    ProbeHostBlock(context, 0);

    // Only host 1 has an agent; the others refuse at once. The connection on loopback is made
    // by the system's network stack alone, well within the probe's wait.
    FUZZ_CHECK(registry.Count() == 1);
    NodeRecord record{};
    registry.ForEach([&](const NodeRecord& r) { record = r; });
    FUZZ_CHECK(std::strcmp(record.address, "127.0.0.1") == 0);
    FUZZ_CHECK(record.index == registry.NextNodeIndex() - 1);
    FUZZ_CHECK(record.name[sizeof record.name - 1] == '\0');

    // The name is the agent's bytes as sent, up to a zero byte, at most 63 of them.
    const std::string name(record.name);
    const std::string sent = answer.substr(0, std::min<std::size_t>(answer.size(), 63));
    const std::string expected = sent.substr(0, std::min(sent.size(), sent.find('\0')));
    FUZZ_CHECK(name == expected);

    // The console lists the name as it is and finds the node's viewer and address by it.
    RecordingList spare;
    RecordingList nodes;
    RefreshNodeList(spare, nodes, registry);
    FUZZ_CHECK(spare.items.empty());
    FUZZ_CHECK(nodes.items.size() == 1 && nodes.items[0] == name);
    FUZZ_CHECK(ViewerWindowTitle(record.name) == name + " ");
    auto found = registry.FindByName(nodes.items[0].c_str());
    FUZZ_CHECK(found && std::strcmp(found->address, "127.0.0.1") == 0);
    return 0;
}
