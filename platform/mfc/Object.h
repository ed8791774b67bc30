// CObject and run-time class information: dynamic creation, kind tests and the class tags that
// CArchive writes for serialisable objects.
#pragma once

#include "win32/WinTypes.h"

class CArchive;
class CObject;
class CDumpContext;

// A schema or'ed with this accepts any stored schema on loading; the object asks for it with
// CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000u)

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    // A new object, or null when the class has no dynamic creation.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Classes are found by name among every class made known with IMPLEMENT_DYNAMIC and its
    // kin in any loaded module.
    static CRuntimeClass* FromName(const char* lpszClassName);
    static CRuntimeClass* FromName(LPCWSTR lpszClassName);
    static CObject* CreateObject(const char* lpszClassName);
    static CObject* CreateObject(LPCWSTR lpszClassName);

    // The class record of an archive: WORD schema, WORD name length, ASCII name.
    void Store(CArchive& ar) const;
    // Null when the name is too long or no class of that name is known.
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Adds a class to the process-wide list when its module loads, and takes it out again when the
// module goes away.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    CRuntimeClass* m_pClass;
};

class CObject
{
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext&) const {}

    static CRuntimeClass classCObject;
    static constexpr CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    static constexpr CRuntimeClass* GetThisClass()                                                           \
    {                                                                                                        \
        return &class##class_name;                                                                           \
    }                                                                                                        \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
    DECLARE_DYNCREATE(class_name)                                                                            \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                 \
    constinit CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), wSchema,  \
                                                             pfnNew, RUNTIME_CLASS(base_class_name)};        \
    static const AFX_CLASSINIT AfxClassInit_##class_name(&class_name::class##class_name);                    \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                       \
    {                                                                                                        \
        return &class_name::class##class_name;                                                               \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject()                                                                      \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
    CObject* class_name::CreateObject()                                                                      \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)                   \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                                     \
    {                                                                                                        \
        pOb = static_cast<class_name*>(AfxReadObject(ar, RUNTIME_CLASS(class_name)));                        \
        return ar;                                                                                           \
    }

// CArchive::ReadObject, for IMPLEMENT_SERIAL in sources that do not include Archive.h.
CObject* AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested);

// Null when the object is not of that class.
CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject);

#define DYNAMIC_DOWNCAST(class_name, object)                                                                 \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(pOb) ((void)0)
#endif
#ifndef ASSERT_KINDOF
#define ASSERT_KINDOF(class_name, object) ((void)0)
#endif
