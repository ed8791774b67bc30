#include "mfc/Object.h"

#include "mfc/Archive.h"
#include "mfc/CString.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace
{
// Built on first use, so classes of any module may register during static initialisation.
struct ClassRegistry
{
    std::mutex lock;
    std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

// The longest class name an archive may name; longer names are refused unread.
constexpr WORD kMaxClassNameLength = 64;
} // namespace

constinit CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFFu, nullptr, nullptr};
static const AFX_CLASSINIT AfxClassInit_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass)
{
    ClassRegistry& r = Registry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.classes.push_back(pNewClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT()
{
    ClassRegistry& r = Registry();
    std::lock_guard<std::mutex> guard(r.lock);
    auto it = std::find(r.classes.begin(), r.classes.end(), m_pClass);
    if (it != r.classes.end())
        r.classes.erase(it);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    ClassRegistry& r = Registry();
    std::lock_guard<std::mutex> guard(r.lock);
    // The most recently loaded module wins, as a later module may stand in for an earlier one.
    for (auto it = r.classes.rbegin(); it != r.classes.rend(); ++it)
        if (std::strcmp((*it)->m_lpszClassName, lpszClassName) == 0)
            return *it;
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    return FromName(CString(lpszClassName).ToUtf8().c_str());
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName)
{
    const CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    const CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    const size_t len = std::strlen(m_lpszClassName);
    ar << WORD(m_wSchema & 0xFFFFu) << WORD(len);
    ar.Write(m_lpszClassName, UINT(len));
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD schema = 0;
    WORD len = 0;
    ar >> schema >> len;
    if (pwSchemaNum)
        *pwSchemaNum = schema;
    if (len >= kMaxClassNameLength)
        return nullptr;
    char name[kMaxClassNameLength + 1] = {};
    if (ar.Read(name, len) != len)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    name[len] = '\0';
    return FromName(name);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFFu;
}

void CObject::Serialize(CArchive&) {}

CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject)
{
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}
