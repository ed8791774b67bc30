#include "figkit/FOPortShape.h"

#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CFOPortShape, CObject, 0)

namespace
{
const int kPortVersion = 1;
}

CFOPortShape::CFOPortShape() = default;

CFOPortShape::CFOPortShape(double fx, double fy)
{
    SetFraction(fx, fy);
}

CFOPortShape::CFOPortShape(const CFOPortShape& src) : CObject()
{
    *this = src;
}

CFOPortShape::~CFOPortShape()
{
    std::vector<IFOPortLink*> links;
    links.swap(m_aLinks);
    for (IFOPortLink* link : links)
        link->OnPortRemoved(this);
}

CFOPortShape& CFOPortShape::operator=(const CFOPortShape& src)
{
    m_dFx = src.m_dFx;
    m_dFy = src.m_dFy;
    m_strKey = src.m_strKey;
    return *this;
}

void CFOPortShape::SetFraction(double fx, double fy)
{
    m_dFx = std::isfinite(fx) ? fx : 0.5;
    m_dFy = std::isfinite(fy) ? fy : 0.5;
}

CPoint CFOPortShape::GetLinkPoint() const
{
    if (!m_pOwner)
        return CPoint();
    const CRect rc = m_pOwner->GetPortOwnerRect();
    const CPoint own(CFODrawHelper::RoundValue(rc.left + m_dFx * rc.Width()),
                     CFODrawHelper::RoundValue(rc.top + m_dFy * rc.Height()));
    return m_pOwner->PortOwnerToCanvas(own);
}

void CFOPortShape::AttachLink(IFOPortLink* pLink)
{
    if (pLink && std::find(m_aLinks.begin(), m_aLinks.end(), pLink) == m_aLinks.end())
        m_aLinks.push_back(pLink);
}

void CFOPortShape::DetachLink(IFOPortLink* pLink)
{
    m_aLinks.erase(std::remove(m_aLinks.begin(), m_aLinks.end(), pLink), m_aLinks.end());
}

void CFOPortShape::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << kPortVersion << m_dFx << m_dFy << m_strKey;
        return;
    }
    int version = 0;
    ar >> version;
    if (version < 1 || version > kPortVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    double fx = 0, fy = 0;
    ar >> fx >> fy >> m_strKey;
    SetFraction(fx, fy);
}
