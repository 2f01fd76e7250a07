#include "push/log_directory.h"

char LogDirectory[kLogDirectorySize] = {};
