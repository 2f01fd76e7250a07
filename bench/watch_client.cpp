// Watches a screen server the way the viewer does (libvncclient, the viewer's encodings) and
// measures what a presenter waits for and what the network carries:
//   - the first whole frame: time from the connection's start and the bytes it took; with
//     --shows, the first update after which the picture has the given colour at the given
//     point (a server may first send a picture it took earlier, before it has read the screen);
//   - frames per second: updates that touch a given area while something there changes;
//   - the bytes received over the whole watch.
// The same program watches the project's server and Debian's x11vnc, so the two compare.
//
//   watch_client HOST PORT PASSWORD SECONDS [X Y W H] [--shows X Y RRGGBB]
#include <rfb/rfbclient.h>

#include <linux/tcp.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
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
    bool waitForColour = false; // --shows: the first frame is the one that has this colour
    int colourX = 0, colourY = 0;
    unsigned long colour = 0; // 0xRRGGBB
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

// The colour of one pixel of the client's copy of the screen, as 0xRRGGBB.
unsigned long ColourAt(const rfbClient* client, int x, int y) {
    if (x < 0 || y < 0 || x >= client->width || y >= client->height ||
        client->format.bitsPerPixel != 32) {
        return ~0UL;
    }
    std::uint32_t value;
    std::memcpy(&value, client->frameBuffer + (static_cast<std::size_t>(y) * client->width + x) * 4,
                sizeof value);
    const rfbPixelFormat& format = client->format;
    return ((value >> format.redShift) & format.redMax) << 16 |
           ((value >> format.greenShift) & format.greenMax) << 8 |
           ((value >> format.blueShift) & format.blueMax);
}

void FinishedUpdate(rfbClient* client) {
    Watch* watch = WatchOf(client);
    ++watch->frames;
    if (watch->areaTouched) {
        ++watch->areaFrames;
    }
    watch->areaTouched = false;
    watch->firstDone = watch->firstDone || !watch->waitForColour ||
                       ColourAt(client, watch->colourX, watch->colourY) == watch->colour;
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
    Watch watch;
    if (argc >= 9 && std::strcmp(argv[argc - 4], "--shows") == 0) {
        watch.waitForColour = true;
        watch.colourX = std::atoi(argv[argc - 3]);
        watch.colourY = std::atoi(argv[argc - 2]);
        watch.colour = std::strtoul(argv[argc - 1], nullptr, 16);
        argc -= 4;
    }
    if (argc != 5 && argc != 9) {
        std::fprintf(stderr, "usage: watch_client HOST PORT PASSWORD SECONDS [X Y W H] "
                             "[--shows X Y RRGGBB]\n");
        return 2;
    }
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
        std::fprintf(stderr, "watch_client: no whole frame within 30 s (%ld updates)\n",
                     watch.frames);
        rfbClientCleanup(client);
        return 1;
    }
    std::printf("first whole frame: %.1f ms after connecting, %llu bytes for %dx%d (update %ld)\n",
                MsSince(start), BytesReceived(client->sock) - handshakeBytes, client->width,
                client->height, watch.frames);
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
