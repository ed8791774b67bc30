#include "figkit/FOShapeTypes.h"

#include <map>
#include <mutex>

namespace
{
struct CShapeTypes
{
    std::mutex mutex;
    std::map<UINT, FOShapeMaker> makers;
};

CShapeTypes& Types()
{
    static CShapeTypes types;
    return types;
}
} // namespace

void FORegisterShapeType(UINT nType, FOShapeMaker pfnMake)
{
    CShapeTypes& t = Types();
    std::lock_guard lock(t.mutex);
    if (pfnMake)
        t.makers[nType] = pfnMake;
    else
        t.makers.erase(nType);
}

FOShapeMaker FOFindShapeType(UINT nType)
{
    CShapeTypes& t = Types();
    std::lock_guard lock(t.mutex);
    auto it = t.makers.find(nType);
    return it == t.makers.end() ? nullptr : it->second;
}
