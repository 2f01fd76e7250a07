// CObject: the root of the framework's classes, carrying run-time class information.
//
// Use: a class that needs its run-time class name writes DECLARE_DYNAMIC(Name) first in its
// body and IMPLEMENT_DYNAMIC(Name, Base) in its .cpp; RUNTIME_CLASS(Name) is its description and
// IsKindOf(RUNTIME_CLASS(Base)) tests derivation. A class without its own declaration reports
// the nearest base that has one.
#pragma once

#include <windows.h>

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;

    // True when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), RUNTIME_CLASS(base_class_name)};        \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                     \
        return RUNTIME_CLASS(class_name);                                                          \
    }

class CObject {
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
};
