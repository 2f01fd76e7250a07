// Keeps a Wine prefix's session up for a whole test run: the first program started in a
// prefix starts its session, and two programs doing that at the same moment can hang it.
#include <windows.h>

int main() {
    ::Sleep(INFINITE);
    return 0;
}
