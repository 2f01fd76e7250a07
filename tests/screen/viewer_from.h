// A libvncclient viewer whose connection comes from a chosen loopback address, as the console's
// would from the console's own: the library picks no source address itself, so it is handed a
// connection made here and then takes the steps its own start would.
#pragma once

#include <rfb/rfbclient.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace viewer_from {

inline const char* g_password = "";

inline char* Password(rfbClient*) {
    return strdup(g_password);
}

// nullptr when the connection or the server's greeting fails (a refusal closes the connection).
// Closes a connection made by Connect: the frame is the program's to free, not the library's.
inline void Disconnect(rfbClient* client) {
    std::free(client->frameBuffer);
    client->frameBuffer = nullptr;
    rfbClientCleanup(client);
}

inline rfbClient* Connect(const char* from, const char* server, int port, const char* password) {
    int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (sock < 0 || ::inet_pton(AF_INET, from, &address.sin_addr) != 1 ||
        ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(sock);
        return nullptr;
    }
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, server, &address.sin_addr) != 1 ||
        ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(sock);
        return nullptr;
    }
    g_password = password;
    rfbClient* client = rfbGetClient(8, 3, 4);
    client->sock = sock;
    std::free(client->serverHost); // the library's own empty text
    client->serverHost = strdup(server);
    client->serverPort = port;
    client->GetPassword = Password;
    client->appData.encodingsString = "zrle hextile raw"; // lossless: pixels are compared
    if (!InitialiseRFBConnection(client)) {
        rfbClientCleanup(client);
        return nullptr;
    }
    client->width = client->si.framebufferWidth;
    client->height = client->si.framebufferHeight;
    if (!client->MallocFrameBuffer(client) || !SetFormatAndEncodings(client) ||
        !SendFramebufferUpdateRequest(client, 0, 0, client->width, client->height, FALSE)) {
        Disconnect(client);
        return nullptr;
    }
    return client;
}

} // namespace viewer_from
