// Reading a file's or folder's owner and permissions from Windows for FindOutsiderWhoCanChange,
// and naming the trustees it finds.
#pragma once

#include "agent/object_rights.h"

#include <string>

#include <windows.h>

// The owner and DACL of a security descriptor read with OWNER_ and DACL_SECURITY_INFORMATION.
ObjectRights ToObjectRights(PSECURITY_DESCRIPTOR descriptor);

// The owner and DACL of the file or folder at path; false with error set when they cannot be read.
bool ReadObjectRights(const std::string& path, ObjectRights& rights, DWORD& error);

// The SID of the account this process runs as, as text; empty when unreadable.
std::string ProcessUserSid();

// "BUILTIN\Users (S-1-5-32-545)", or the SID alone when Windows has no name for it.
std::string TrusteeText(const std::string& sid);
