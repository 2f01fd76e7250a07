#include "framework/CShellManager.h"

IMPLEMENT_DYNAMIC(CShellManager, CObject)

namespace {

CShellManager* g_pShellManager = nullptr;

} // namespace

CShellManager::CShellManager() {
    if (g_pShellManager == nullptr) {
        g_pShellManager = this;
    }
}

CShellManager::~CShellManager() {
    if (g_pShellManager == this) {
        g_pShellManager = nullptr;
    }
}

CShellManager* AfxGetShellManager() {
    return g_pShellManager;
}
