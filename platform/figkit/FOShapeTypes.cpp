#include "figkit/FOShapeTypes.h"

#include <map>
#include <mutex>

namespace
{
struct CShapeTypes
{
    std::mutex mutex;
    std::map<UINT, CRuntimeClass*> classes;
};

CShapeTypes& Types()
{
    static CShapeTypes types;
    return types;
}
} // namespace

void FORegisterShapeType(UINT nType, CRuntimeClass* pClass)
{
    CShapeTypes& t = Types();
    std::lock_guard lock(t.mutex);
    if (pClass)
        t.classes[nType] = pClass;
    else
        t.classes.erase(nType);
}

CRuntimeClass* FOFindShapeType(UINT nType)
{
    CShapeTypes& t = Types();
    std::lock_guard lock(t.mutex);
    auto it = t.classes.find(nType);
    return it == t.classes.end() ? nullptr : it->second;
}
