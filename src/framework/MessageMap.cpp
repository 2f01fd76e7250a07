#include "framework/MessageMap.h"

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                            UINT nID) {
    for (const AFX_MSGMAP* map = pMap; map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (entry->nMessage == nMessage && entry->nCode == nCode && entry->nID <= nID &&
                nID <= entry->nLastID) {
                return entry;
            }
        }
    }
    return nullptr;
}
