// CGdiObject: owns one GDI object (bitmap, pen, brush) and deletes it with the object.
//
// Owning kinds are CBitmap, CPen and CBrush; they can be moved, not copied. A handle that the
// object must not delete (a stock object, a bitmap shown by a control) stays a plain handle,
// which the CDC functions accept as well. Creating into an object that already holds one
// deletes the old object first. Deselect an object from every device context before it is
// deleted (the owning device contexts deselect everything they selected when they end).
#pragma once

#include <windows.h>

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    ~CGdiObject();
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of the handle (deleting the one held before).
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership without deleting.
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;
};
