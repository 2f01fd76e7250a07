// The agent's state folder on Windows, %ProgramData%\ClumaDeck: the remembered console and the
// service's log. Every user may create folders under %ProgramData%, so a student may make this
// one before the agent does and keep it, with the owner's right to change its permissions. An
// agent with administrator rights therefore gives the folder to Administrators.
#pragma once

#include <string>

std::string DefaultStateFolder();

enum class StateFolderClaim {
    always,              // `service install`: Administrators own it, with the folder's permissions
    whenOthersCanChange, // an agent run by an administrator or the system: the same, for a
                         // folder that anyone else owns or may change
    whenCreated,         // the service as LocalService: permissions only for a folder it made
};

// Creates the folder when missing and gives it its owner and permissions as claim says: SYSTEM
// and Administrators in full, LocalService modifies, every user reads, nothing inherited. A
// link in the folder's place is refused, never followed. False with error set on failure.
bool PrepareStateFolder(StateFolderClaim claim, std::string& error);

// Whether this process has administrator rights (elevated, or the system's).
bool RunsAsAdministrator();
