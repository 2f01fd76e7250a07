// The end-to-end tests' viewer: connects to a screen server from a chosen loopback address and
// then answers commands on standard input, one line each, until "quit" or the end of input:
//   frame PATH   writes the screen as it has arrived so far to PATH (binary PPM), says "ok"
//   click X Y    presses and releases the left button at (X, Y), says "ok"
// It first says "connected NAME WIDTH HEIGHT", or "refused" and ends with 1.
// Usage: cluma-screen-viewer FROM SERVER PORT PASSWORD
#include "viewer_from.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

void Quiet(const char*, ...) {}

bool WriteFrame(const rfbClient* client, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", client->width, client->height);
    const rfbPixelFormat& f = client->format;
    for (int i = 0; i < client->width * client->height; ++i) {
        std::uint32_t value = 0;
        std::memcpy(&value, client->frameBuffer + i * 4, 4);
        unsigned char rgb[3] = {static_cast<unsigned char>(value >> f.redShift),
                                static_cast<unsigned char>(value >> f.greenShift),
                                static_cast<unsigned char>(value >> f.blueShift)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: cluma-screen-viewer FROM SERVER PORT PASSWORD\n";
        return 64;
    }
    rfbClientLog = rfbClientErr = Quiet;
    rfbClient* client = viewer_from::Connect(argv[1], argv[2], std::atoi(argv[3]), argv[4]);
    if (client == nullptr) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    std::cout << "connected " << client->desktopName << " " << client->width << " "
              << client->height << std::endl;
    std::string line;
    while (true) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {client->sock, POLLIN, 0}};
        if (::poll(fds, 2, 1000) < 0) {
            break;
        }
        if (fds[1].revents != 0 && !HandleRFBServerMessage(client)) {
            std::cout << "lost" << std::endl;
            break;
        }
        if (fds[0].revents == 0) {
            continue;
        }
        if (!std::getline(std::cin, line) || line == "quit") {
            break;
        }
        std::istringstream words(line);
        std::string command, path;
        int x = 0, y = 0;
        words >> command;
        if (command == "frame" && words >> path) {
            std::cout << (WriteFrame(client, path) ? "ok" : "error") << std::endl;
        } else if (command == "click" && words >> x >> y) {
            SendPointerEvent(client, x, y, rfbButton1Mask);
            SendPointerEvent(client, x, y, 0);
            std::cout << "ok" << std::endl;
        } else {
            std::cout << "error" << std::endl;
        }
    }
    viewer_from::Disconnect(client);
    return 0;
}
