// A connection port of a shape: a point at fractions of the shape's own rectangle, with a key.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <vector>

class CFODrawShape;
class CFOLinkShape;

class CFOPortShape : public CObject
{
    DECLARE_SERIAL(CFOPortShape)
public:
    CFOPortShape();
    CFOPortShape(double fx, double fy);
    CFOPortShape(const CFOPortShape& src);
    ~CFOPortShape() override;
    // Copies position and key; not the owner or the links.
    CFOPortShape& operator=(const CFOPortShape& src);

    double GetFractionX() const { return m_dFx; }
    double GetFractionY() const { return m_dFy; }
    void SetFraction(double fx, double fy);
    const CString& GetKey() const { return m_strKey; }
    void SetKey(const CString& key) { m_strKey = key; }

    CFODrawShape* GetOwner() const { return m_pOwner; }
    void SetOwner(CFODrawShape* pOwner) { m_pOwner = pOwner; }
    // The port's point on the canvas.
    CPoint GetLinkPoint() const;

    // Links attached here; a port going away detaches them.
    void AttachLink(CFOLinkShape* pLink);
    void DetachLink(CFOLinkShape* pLink);
    int GetLinkCount() const { return int(m_aLinks.size()); }
    CFOLinkShape* GetLink(int i) const { return m_aLinks.at(size_t(i)); }

    // Version (1), fractions as doubles, key.
    void Serialize(CArchive& ar) override;

private:
    double m_dFx = 0.5;
    double m_dFy = 0.5;
    CString m_strKey;
    CFODrawShape* m_pOwner = nullptr;
    std::vector<CFOLinkShape*> m_aLinks;
};
