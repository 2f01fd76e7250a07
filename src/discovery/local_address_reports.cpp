#include "discovery/local_address_reports.h"

std::string DescribeLocalAddressProblem(LocalAddressFileStatus status, const std::string& path,
                                        bool whileSaving) {
    std::string what;
    switch (status) {
    case LocalAddressFileStatus::ok:
        return std::string();
    case LocalAddressFileStatus::missing:
        what = "The local address file is missing:\n" + path +
               "\n\nClumaDeck finds the room's machines through the address in this file. "
               "Ask your technician to put it beside ClumaDeck.exe.";
        break;
    case LocalAddressFileStatus::unreadable:
        what = "The local address file cannot be read:\n" + path +
               "\n\nCheck that no other program holds it open and that you may read it.";
        break;
    case LocalAddressFileStatus::unwritable:
        what = "The local address file cannot be written:\n" + path +
               "\n\nCheck that it is not read-only and that you may change it.";
        break;
    }
    return whileSaving ? "The address was not saved. " + what : what;
}
