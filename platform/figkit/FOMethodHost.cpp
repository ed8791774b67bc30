#include "figkit/FOMethodHost.h"

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPortShape.h"

IMPLEMENT_DYNCREATE(CFOMethodHost, CCmdTarget)

BEGIN_MESSAGE_MAP(CFOMethodHost, CCmdTarget)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CFOMethodHost, CCmdTargetDispatch)
END_DISPATCH_MAP()

CFOMethodHost::CFOMethodHost() = default;

CFOMethodHost::~CFOMethodHost() = default;

void CFOMethodHost::OnFinalRelease()
{
    CCmdTargetDispatch::OnFinalRelease();
}

CFODataModel* CFOMethodHost::GetCurModel() const
{
    if (m_dwCurModel)
        return CFODataModel::FromModelHandle(m_dwCurModel);
    CFOPCanvasCore* canvas = GetCanvas();
    return canvas ? canvas->GetCurrentModel() : nullptr;
}

void CFOMethodHost::SetCurModel(CFODataModel* pModel)
{
    m_dwCurModel = pModel ? pModel->GetModelHandle() : 0;
}

CFOPCanvasCore* CFOMethodHost::GetCanvas() const
{
    return CFOPCanvasCore::FromCanvasHandle(m_dwCanvas);
}

void CFOMethodHost::SetCanvas(CFOPCanvasCore* pCanvas)
{
    m_dwCanvas = pCanvas ? pCanvas->GetCanvasHandle() : 0;
}

namespace
{
// Whether the port still belongs to the shape (compared by address only: a port that went is
// never read).
bool ShapeHasPort(const CFODrawShape* pShape, const CFOPortShape* pPort)
{
    for (int i = 0; i < pShape->GetPortCount(); ++i)
    {
        if (pShape->GetPort(i) == pPort)
            return true;
    }
    return false;
}
} // namespace

DWORD CFOMethodHost::GetPortHandle(CFOPortShape* pPort)
{
    CFODataModel* model = GetCurModel();
    if (!pPort || !model)
        return 0;
    CFODrawShape* owner = pPort->GetOwner();
    const DWORD shape = owner ? model->GetShapeHandle(owner) : 0;
    if (!shape || !ShapeHasPort(owner, pPort))
        return 0;
    auto known = m_portHandles.find(pPort);
    if (known != m_portHandles.end())
    {
        const PortRef& ref = m_ports[known->second];
        if (ref.dwModel == model->GetModelHandle() && ref.dwShape == shape)
            return known->second;
        // A new port where an old one was: it gets a handle of its own.
        m_ports.erase(known->second);
        m_portHandles.erase(known);
    }
    DWORD handle = m_dwNextPort++;
    if (handle == 0)
        handle = m_dwNextPort++;
    m_ports[handle] = PortRef{model->GetModelHandle(), shape, pPort};
    m_portHandles[pPort] = handle;
    return handle;
}

CFOPortShape* CFOMethodHost::PortFromHandle(DWORD dwHandle) const
{
    auto it = m_ports.find(dwHandle);
    CFODataModel* model = GetCurModel();
    if (it == m_ports.end() || !model || it->second.dwModel != model->GetModelHandle())
        return nullptr;
    CFODrawShape* shape = model->ShapeFromHandle(it->second.dwShape);
    if (!shape)
        return nullptr;
    for (int i = 0; i < shape->GetPortCount(); ++i)
    {
        CFOPortShape* port = shape->GetPort(i);
        if (port == it->second.pPort)
            return port;
    }
    return nullptr;
}
