// Points one of this test program's imports at a replacement, so that the program's own code
// meets a system call that fails.
#pragma once

// Replaces this program's import of `name` from `dll`; false when there is no such import.
bool ReplaceImport(const char* dll, const char* name, void* replacement);
