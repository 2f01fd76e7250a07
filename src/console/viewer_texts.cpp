#include "console/viewer_texts.h"

#include <cstring>

std::string ViewerParameters(const char* address) {
    return std::string(address) + kViewerFixedArguments;
}

std::string ViewerWindowTitle(const char* nodeName) {
    return std::string(nodeName) + " ";
}

bool IsViewerWindowClass(const char* className) {
    return std::strcmp(className, kViewerWindowClass) == 0;
}
