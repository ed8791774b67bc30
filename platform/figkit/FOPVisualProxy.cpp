#include "figkit/FOPVisualProxy.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FOPHandle.h"

#include <memory>

IMPLEMENT_DYNCREATE(CFOPVisualProxy, CObject)

namespace
{
std::unique_ptr<CFOPVisualProxy>& Instance()
{
    static std::unique_ptr<CFOPVisualProxy> instance;
    return instance;
}
} // namespace

CFOPVisualProxy::CFOPVisualProxy() = default;
CFOPVisualProxy::~CFOPVisualProxy() = default;

CFOPVisualProxy* CFOPVisualProxy::GetInstance()
{
    if (!Instance())
        Instance() = std::make_unique<CFOPVisualProxy>();
    return Instance().get();
}

void CFOPVisualProxy::SetInstance(CFOPVisualProxy* pProxy)
{
    Instance().reset(pProxy);
}

void CFOPVisualProxy::GenNormalHandles(CFOPHandleList& list, const CRect& rc, UINT, int, int)
{
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2;
    const FOPPoint pts[8] = {{rc.left, rc.top},     {cx, rc.top},    {rc.right, rc.top},   {rc.right, cy},
                             {rc.right, rc.bottom}, {cx, rc.bottom}, {rc.left, rc.bottom}, {rc.left, cy}};
    for (int i = 0; i < 8; ++i)
        list.AddHandle(CFOPHandle(pts[i], FO_HANDLE_TOPLEFT + i), 0);
}

void FOInit(CRuntimeClass* pProxyClass, int nGUIType)
{
    FO_GLOBAL::InitGUIType(nGUIType);
    if (!pProxyClass)
        return;
    CObject* ob = pProxyClass->CreateObject();
    if (auto* proxy = dynamic_cast<CFOPVisualProxy*>(ob))
        CFOPVisualProxy::SetInstance(proxy);
    else
        delete ob;
}
