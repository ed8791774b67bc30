// A connection port of a shape: a point at fractions of the shape's own rectangle, with a key.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <vector>

class CFODrawShape;
class CFOPortShape;

// What a port asks of the shape that owns it.
class IFOPortOwner
{
public:
    virtual CFODrawShape* GetPortOwnerShape() = 0;
    // The owner's outline box in its own coordinates, and the map from those to the canvas.
    virtual CRect GetPortOwnerRect() const = 0;
    virtual CPoint PortOwnerToCanvas(const CPoint& pt) const = 0;

protected:
    ~IFOPortOwner() = default;
};

// What a port tells the links attached to it.
class IFOPortLink
{
public:
    // The port is going away; the link must let go of it.
    virtual void OnPortRemoved(CFOPortShape* pPort) = 0;

protected:
    ~IFOPortLink() = default;
};

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

    CFODrawShape* GetOwner() const { return m_pOwner ? m_pOwner->GetPortOwnerShape() : nullptr; }
    void SetOwner(IFOPortOwner* pOwner) { m_pOwner = pOwner; }
    // The port's point on the canvas.
    CPoint GetLinkPoint() const;

    // Links attached here; a port going away detaches them.
    void AttachLink(IFOPortLink* pLink);
    void DetachLink(IFOPortLink* pLink);
    int GetLinkCount() const { return int(m_aLinks.size()); }
    IFOPortLink* GetLink(int i) const { return m_aLinks.at(size_t(i)); }

    // Version (1), fractions as doubles, key.
    void Serialize(CArchive& ar) override;

private:
    double m_dFx = 0.5;
    double m_dFy = 0.5;
    CString m_strKey;
    IFOPortOwner* m_pOwner = nullptr;
    std::vector<IFOPortLink*> m_aLinks;
};
