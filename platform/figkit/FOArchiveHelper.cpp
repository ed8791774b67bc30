#include "figkit/FOArchiveHelper.h"

#include "mfc/Archive.h"

#include <memory>

namespace
{
thread_local int t_depth = 0;

struct DepthGuard
{
    DepthGuard() { ++t_depth; }
    ~DepthGuard() { --t_depth; }
};
} // namespace

void FOWriteOwnedObject(CArchive& ar, const CObject& ob)
{
    ar.WriteClass(ob.GetRuntimeClass());
    const_cast<CObject&>(ob).Serialize(ar);
}

CObject* FOReadOwnedObject(CArchive& ar, const CRuntimeClass* pBaseClass)
{
    UINT schema = 0;
    CRuntimeClass* cls = ar.ReadClass(pBaseClass, &schema, nullptr);
    if (!cls)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    if (t_depth >= FO_MAX_OWNED_DEPTH)
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    std::unique_ptr<CObject> ob(cls->CreateObject());
    if (!ob)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    DepthGuard guard;
    ar.SetObjectSchema(schema);
    ob->Serialize(ar);
    return ob.release();
}

int FOSerializeVersion(CArchive& ar, int nCurrent)
{
    if (ar.IsStoring())
    {
        ar << nCurrent;
        return nCurrent;
    }
    int version = 0;
    ar >> version;
    if (version < 1 || version > nCurrent)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    return version;
}
