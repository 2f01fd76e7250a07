// What became of one connection attempt to a screen server.
#pragma once

enum class ConnectionOutcome {
    connected,     // the server accepted us and sent its desktop
    refused,       // nothing listens there, or the server turned this PC away
    wrongPassword, // the server asked for the password and did not accept it
    unreachable,   // no answer in time, or no route to the PC
    lost,          // a connection that was up ended
};
