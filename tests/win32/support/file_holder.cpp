// Holds a file open without sharing, as another program may, until told to let go.
//   file_holder.exe PATH READY_EVENT RELEASE_EVENT
// Sets READY_EVENT once the file is open and closes it when RELEASE_EVENT is set (or after a
// minute). Exits with 1 when the file cannot be opened or an event is missing.
#include "platform/owned_handle.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    OwnedHandle file(::CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    OwnedHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
    OwnedHandle release(::OpenEventA(SYNCHRONIZE, FALSE, argv[3]));
    if (!file || !ready || !release) {
        return 1;
    }
    ::SetEvent(ready.Get());
    ::WaitForSingleObject(release.Get(), 60000);
    return 0;
}
