// A push request from end to end on loopback: a node sends the input's reason to the real
// listener, which reads it, looks the node's name up and composes the presenter's question.
// The question must hold the name, the fixed words and as much of the reason as fits, cut only
// between whole characters, inside its buffer.
//
// Input: one byte (bits 0-5 the name's length, bit 6 the presenter's answer, bit 7 whether the
// registry knows the node), the name, then the reason as the node sends it.
#include "discovery/node_registry.h"
#include "fuzz_input.h"
#include "platform/net.h"
#include "push/push_listener.h"
#include "push/push_protocol.h"

#include <cstring>
#include <sstream>
#include <string>
#include <sys/socket.h>

namespace {

constexpr char kWords[] = " request push screen ,he/she say ";
constexpr char kEnd[] = ",agree \xA3\xBF";

class RecordingPrompt final : public PushPrompt {
public:
    bool AskPresenter(const char* question) override {
        ++asked;
        // The listener's buffer is kPromptBytes long: all of it is read, so a shorter one
        // would show up as an overflow.
        buffer.assign(question, kPromptBytes);
        return answer;
    }
    bool answer = false;
    int asked = 0;
    std::string buffer;
};

// The width of the character at a position of a text in the double-byte code page: a lead
// byte (0x81 to 0xFE) with a byte after it starts a two-byte character.
std::size_t CharacterWidthAt(const std::string& text, std::size_t at) {
    auto byte = static_cast<unsigned char>(text[at]);
    return byte >= 0x81 && byte <= 0xFE && at + 1 < text.size() ? 2 : 1;
}

bool EndsOnCharacterBoundary(const std::string& text, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        at += CharacterWidthAt(text, at);
    }
    return at == length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::ostringstream* diagnostics = new std::ostringstream;
    static PushListenerSettings* settings = [] {
        auto* s = new PushListenerSettings;
        s->bindAddress = "127.0.0.1";
        s->port = 0;
        s->diagnostics = diagnostics;
        return s;
    }();
    static platform::Socket* listener = [] {
        auto* socket = new platform::Socket(OpenPushListener(*settings));
        FUZZ_CHECK_CALL(socket->Valid());
        return socket;
    }();
    // The reader and the asking run on this one thread, turn by turn.
    static PushRequestQueue* queue = new PushRequestQueue;
    static PushRequestReader* reader = new PushRequestReader(*listener, *settings, *queue);
    diagnostics->str("");

    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::string nameBytes = input.Bytes(flags & 0x3F);
    const std::string reasonSent = input.Rest();

    NodeRegistry registry;
    std::string name;
    if (flags & 0x80) {
        NodeRecord record{};
        std::snprintf(record.address, sizeof record.address, "127.0.0.1");
        std::memcpy(record.name, nameBytes.data(),
                    std::min(nameBytes.size(), sizeof record.name - 1));
        registry.AppendIfNew(record);
        name = record.name;
    }
    RecordingPrompt prompt;
    prompt.answer = (flags & 0x40) != 0;
    int launches = 0;
    settings->registry = &registry;
    settings->prompt = &prompt;
    settings->launchViewer = [&](const char* address) {
        ++launches;
        FUZZ_CHECK(std::strcmp(address, "127.0.0.1") == 0);
    };

    // The node connects and sends its reason in one piece, all of it there before the
    // listener reads; a node with nothing to say ends its sending instead.
    platform::Socket node = platform::CreateTcpSocket();
    FUZZ_CHECK_CALL(node.Valid());
    FUZZ_CHECK_CALL(platform::StartConnect(node, "127.0.0.1", platform::LocalPort(*listener)));
    FUZZ_CHECK_CALL(platform::WaitWritable(node, 10000) == platform::Wait::ready);
    FUZZ_CHECK_CALL(platform::IsConnected(node));
    if (reasonSent.empty()) {
        platform::ShutdownSend(node);
    } else {
        FUZZ_CHECK_CALL(
            platform::Send(node, reasonSent.data(), static_cast<int>(reasonSent.size())) ==
            static_cast<int>(reasonSent.size()));
    }
    // Accepted after one wait and read after the next; a turn that reads nothing would wait
    // out the reason wait, so the input's request is read within a few.
    for (int turn = 0; turn < 4 && queue->Waiting() == 0; ++turn) {
        FUZZ_CHECK_CALL(reader->Turn());
    }
    FUZZ_CHECK(queue->Waiting() == 1);
    FUZZ_CHECK(AskNextPushRequest(*queue, *settings));
    // The listener closed first; the node then resets its end, so neither end waits out its
    // time: tens of thousands of connections a minute would otherwise use up the local ports.
    const linger reset{1, 0};
    FUZZ_CHECK_CALL(setsockopt(node.Native(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset) == 0);
    node.Close();
    FUZZ_CHECK(prompt.asked == 1);
    FUZZ_CHECK(launches == (prompt.answer ? 1 : 0));

    // The question: zero-terminated and zero-filled within its buffer.
    const std::string& buffer = prompt.buffer;
    const std::size_t length = std::strlen(buffer.c_str());
    FUZZ_CHECK(length < static_cast<std::size_t>(kPromptBytes));
    FUZZ_CHECK(buffer.find_first_not_of('\0', length) == std::string::npos);
    const std::string question = buffer.substr(0, length);

    // The name and the fixed words whole; the reason read once, at most kMaxReasonBytes, up
    // to its first zero byte.
    const std::string received =
        reasonSent.substr(0, std::min<std::size_t>(reasonSent.size(), kMaxReasonBytes));
    const std::string reason = received.substr(0, std::min(received.size(), received.find('\0')));
    const std::string head = name + kWords;
    const std::string end = kEnd;
    FUZZ_CHECK(question.size() >= head.size() + end.size());
    FUZZ_CHECK(question.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(question.compare(question.size() - end.size(), end.size(), end) == 0);
    FUZZ_CHECK(head.size() + end.size() == name.size() + kPromptFixedBytes);

    // The reason shown is the reason, or its longest start of whole characters that fits.
    const std::string shown =
        question.substr(head.size(), question.size() - head.size() - end.size());
    FUZZ_CHECK(reason.compare(0, shown.size(), shown) == 0);
    const std::size_t room = kPromptBytes - 1 - kPromptFixedBytes - name.size();
    FUZZ_CHECK(shown.size() <= room);
    if (shown.size() < reason.size()) {
        FUZZ_CHECK(EndsOnCharacterBoundary(reason, shown.size()));
        FUZZ_CHECK(shown.size() + CharacterWidthAt(reason, shown.size()) > room);
    }
    return 0;
}
