// Whether the console's installer may make localIp.txt in the folder it installs into. The
// file is made by the system account, so the folder must be one that nobody below an
// administrator can redirect or re-permit: no reparse point (a junction or a link could send
// the file elsewhere), and owned by the administrators, the system, the installer's own
// service, or the account that makes the file (an owner may change any folder's rights).
#pragma once

#include <string_view>

enum class InstallFolderVerdict { usable, reparsePoint, foreignOwner };

// ownerSid and installingSid as Windows writes SIDs in text ("S-1-5-32-544"); an empty or
// unreadable owner is foreign.
InstallFolderVerdict JudgeInstallFolder(bool reparsePoint, std::string_view ownerSid,
                                        std::string_view installingSid);
