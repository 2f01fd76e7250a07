#include "framework/AfxThreadState.h"

#include "framework/CWnd.h"

AfxThreadState::AfxThreadState() = default;
AfxThreadState::~AfxThreadState() = default;

AfxThreadState& AfxGetThreadState() {
    thread_local AfxThreadState state;
    return state;
}
