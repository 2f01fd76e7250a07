// Writing a small file so that readers see either the old or the new contents, never a part,
// and so that every user of the machine may read it.
#pragma once

#include <string>
#include <vector>

// Writes contents to a temporary file beside path, then replaces path with it. Creates the
// folder when missing (readable by everyone). False with error set on failure; the old file is
// then left as it was and the temporary file removed.
bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error);

// Where `ask` looks for the remembered console when no --state is given, in order: the first
// file that holds a valid state wins. The service's or root's file and the user's own file on
// Linux (a student asks as themself from an agent that serves as a system service).
std::vector<std::string> ConsoleStateReadPaths();
