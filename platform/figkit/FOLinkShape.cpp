#include "figkit/FOLinkShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOPortShape.h"
#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFOLinkShape, CFOLineShape, 0)

namespace
{
const int kVersion = 1;
}

CFOLinkShape::CFOLinkShape()
{
    SetType(FO_COMP_LINK);
}

CFOLinkShape::CFOLinkShape(const CFOLinkShape& src) : CFOLineShape(src)
{
    m_strFromShape = src.m_strFromShape;
    m_nFromPort = src.m_nFromPort;
    m_strToShape = src.m_strToShape;
    m_nToPort = src.m_nToPort;
}

CFOLinkShape::~CFOLinkShape()
{
    SetLinkPorts(nullptr, nullptr);
}

CFOLinkShape& CFOLinkShape::operator=(const CFOLinkShape& src)
{
    CFOLineShape::operator=(src);
    SetLinkPorts(nullptr, nullptr);
    m_strFromShape = src.m_strFromShape;
    m_nFromPort = src.m_nFromPort;
    m_strToShape = src.m_strToShape;
    m_nToPort = src.m_nToPort;
    return *this;
}

CFODrawShape* CFOLinkShape::Copy() const
{
    return new CFOLinkShape(*this);
}

void CFOLinkShape::Create(const POINT* points, int nCount, CFOPortShape* pFrom, CFOPortShape* pTo)
{
    CFOLineShape::Create(points, nCount);
    SetLinkPorts(pFrom, pTo);
}

void CFOLinkShape::Create(const CArray<CPoint, CPoint>* pPoints, CFOPortShape* pFrom, CFOPortShape* pTo)
{
    if (pPoints)
        Create(pPoints->GetData(), int(pPoints->GetSize()), pFrom, pTo);
}

void CFOLinkShape::SetLinkPorts(CFOPortShape* pFrom, CFOPortShape* pTo)
{
    if (m_pFromPort)
        m_pFromPort->DetachLink(this);
    if (m_pToPort)
        m_pToPort->DetachLink(this);
    m_pFromPort = pFrom;
    m_pToPort = pTo;
    if (m_pFromPort)
        m_pFromPort->AttachLink(this);
    if (m_pToPort)
        m_pToPort->AttachLink(this);
}

void CFOLinkShape::OnPortRemoved(CFOPortShape* pPort)
{
    // The port's shape may be half destroyed: only forget the connection.
    if (m_pFromPort == pPort)
    {
        m_pFromPort = nullptr;
        m_strFromShape.Empty();
        m_nFromPort = -1;
    }
    if (m_pToPort == pPort)
    {
        m_pToPort = nullptr;
        m_strToShape.Empty();
        m_nToPort = -1;
    }
}

void CFOLinkShape::RelayoutPoints()
{
    const int n = GetPointCount();
    if (n < 2)
        return;
    if (m_pFromPort)
        SetPoint(0, CanvasToOwn(m_pFromPort->GetLinkPoint()));
    if (m_pToPort)
        SetPoint(n - 1, CanvasToOwn(m_pToPort->GetLinkPoint()));
    UpdateComp();
}

void CFOLinkShape::RelayoutTrackPoints()
{
    ResetTrackPoints();
    const int n = GetTrackPointCount();
    if (n < 2)
        return;
    if (m_pFromPort)
        GetTrackPoints()[0] = m_pFromPort->GetLinkPoint();
    if (m_pToPort)
        GetTrackPoints()[n - 1] = m_pToPort->GetLinkPoint();
}

void CFOLinkShape::StoreEnd(CFOPortShape* pPort, CString& owner, int& index) const
{
    owner.Empty();
    index = -1;
    CFODrawShape* shape = pPort ? pPort->GetOwner() : nullptr;
    if (!shape)
        return;
    for (int i = 0; i < shape->GetPortCount(); ++i)
    {
        if (shape->GetPort(i) == pPort)
        {
            owner = shape->GetObjectName();
            index = i;
            return;
        }
    }
}

void CFOLinkShape::ReconnectPorts(IFOShapeOwner* pOwner)
{
    if (!pOwner)
        return;
    auto find = [pOwner](const CString& name, int index) -> CFOPortShape*
    {
        if (name.IsEmpty() || index < 0)
            return nullptr;
        CFODrawShape* shape = pOwner->FindCompWithName(name);
        return shape ? shape->GetPort(index) : nullptr;
    };
    SetLinkPorts(find(m_strFromShape, m_nFromPort), find(m_strToShape, m_nToPort));
}

void CFOLinkShape::Serialize(CArchive& ar)
{
    CFOLineShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        CString fromName = m_strFromShape, toName = m_strToShape;
        int fromIndex = m_nFromPort, toIndex = m_nToPort;
        if (m_pFromPort)
            StoreEnd(m_pFromPort, fromName, fromIndex);
        if (m_pToPort)
            StoreEnd(m_pToPort, toName, toIndex);
        ar << fromName << fromIndex << toName << toIndex;
        return;
    }
    SetLinkPorts(nullptr, nullptr);
    ar >> m_strFromShape >> m_nFromPort >> m_strToShape >> m_nToPort;
}
