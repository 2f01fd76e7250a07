// Watches a screen server the way the viewer does (libvncclient, the viewer's encodings) and
// measures what a presenter waits for and what the network carries:
//   - the first whole frame: time from the connection's start and the bytes it took;
//   - frames per second: updates that touch a given area while something there changes;
//   - the bytes received over the whole watch.
// The same program watches the project's server and Debian's x11vnc, so the two compare.
//
//   watch_client HOST PORT PASSWORD SECONDS [X Y W H]
#include <rfb/rfbclient.h>

#include <linux/tcp.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Area {
    int x = 0, y = 0, w = 0, h = 0;
    bool Touches(int ux, int uy, int uw, int uh) const {
        return w > 0 && ux < x + w && x < ux + uw && uy < y + h && y < uy + uh;
    }
};

struct Watch {
    std::string password;
    Area area;
    bool areaTouched = false;
    long frames = 0;     // whole updates the server has finished
    long areaFrames = 0; // of those, the ones that changed something in the area
    bool firstDone = false;
};

Watch* WatchOf(rfbClient* client) {
    return static_cast<Watch*>(rfbClientGetClientData(client, nullptr));
}

char* GivePassword(rfbClient* client) {
    return strdup(WatchOf(client)->password.c_str());
}

void GotUpdate(rfbClient* client, int x, int y, int w, int h) {
    Watch* watch = WatchOf(client);
    watch->areaTouched = watch->areaTouched || watch->area.Touches(x, y, w, h);
}

void FinishedUpdate(rfbClient* client) {
    Watch* watch = WatchOf(client);
    ++watch->frames;
    if (watch->areaTouched) {
        ++watch->areaFrames;
    }
    watch->areaTouched = false;
    watch->firstDone = true;
}

// Bytes the kernel has handed up on this connection (the whole RFB stream, headers included).
unsigned long long BytesReceived(int sock) {
    tcp_info info{};
    socklen_t size = sizeof info;
    if (::getsockopt(sock, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) {
        return 0;
    }
    return info.tcpi_bytes_received;
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 9) {
        std::fprintf(stderr, "usage: watch_client HOST PORT PASSWORD SECONDS [X Y W H]\n");
        return 2;
    }
    Watch watch;
    watch.password = argv[3];
    const double seconds = std::atof(argv[4]);
    if (argc == 9) {
        watch.area = {std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]),
                      std::atoi(argv[8])};
    }
    rfbEnableClientLogging = FALSE;
    rfbClient* client = rfbGetClient(8, 3, 4);
    rfbClientSetClientData(client, nullptr, &watch);
    client->serverHost = strdup(argv[1]);
    client->serverPort = std::atoi(argv[2]);
    client->GetPassword = GivePassword;
    client->GotFrameBufferUpdate = GotUpdate;
    client->FinishedFrameBufferUpdate = FinishedUpdate;
    // The viewer's choice: no JPEG, so the frame is what the screen shows.
    client->appData.encodingsString = "copyrect zrle hextile raw";
    client->appData.useRemoteCursor = FALSE;

    const Clock::time_point start = Clock::now();
    int noArguments = 0;
    if (!rfbInitClient(client, &noArguments, nullptr)) { // frees the client on failure
        std::fprintf(stderr, "watch_client: could not connect to %s:%s\n", argv[1], argv[2]);
        return 1;
    }
    const unsigned long long handshakeBytes = BytesReceived(client->sock);
    while (!watch.firstDone && MsSince(start) < 30000) {
        if (WaitForMessage(client, 100000) > 0 && !HandleRFBServerMessage(client)) {
            std::fprintf(stderr, "watch_client: the server closed the connection\n");
            rfbClientCleanup(client);
            return 1;
        }
    }
    if (!watch.firstDone) {
        std::fprintf(stderr, "watch_client: no whole frame within 30 s\n");
        rfbClientCleanup(client);
        return 1;
    }
    std::printf("first whole frame: %.1f ms after connecting, %llu bytes for %dx%d\n",
                MsSince(start), BytesReceived(client->sock) - handshakeBytes, client->width,
                client->height);
    std::fflush(stdout); // a driver reads this line while the watch goes on

    const long framesBefore = watch.frames;
    const long areaFramesBefore = watch.areaFrames;
    const unsigned long long bytesBefore = BytesReceived(client->sock);
    const Clock::time_point watchStart = Clock::now();
    while (MsSince(watchStart) < seconds * 1000) {
        if (WaitForMessage(client, 50000) > 0 && !HandleRFBServerMessage(client)) {
            std::fprintf(stderr, "watch_client: the server closed the connection\n");
            rfbClientCleanup(client);
            return 1;
        }
    }
    const double watched = MsSince(watchStart) / 1000;
    std::printf("over %.1f s: %ld updates (%.1f /s), %ld touching the area (%.1f /s), %llu bytes\n",
                watched, watch.frames - framesBefore, (watch.frames - framesBefore) / watched,
                watch.areaFrames - areaFramesBefore,
                (watch.areaFrames - areaFramesBefore) / watched,
                BytesReceived(client->sock) - bytesBefore);
    rfbClientCleanup(client);
    return 0;
}
