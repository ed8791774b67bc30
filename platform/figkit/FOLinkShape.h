// A line that connects two ports. The connection is stored by the owners' names and the ports'
// indexes and found again when the model finishes loading.
#pragma once

#include "figkit/FOLineShape.h"
#include "figkit/FOPortShape.h"

class CFOLinkShape : public CFOLineShape, public IFOPortLink
{
    DECLARE_SERIAL(CFOLinkShape)
public:
    CFOLinkShape();
    CFOLinkShape(const CFOLinkShape& src);
    ~CFOLinkShape() override;
    // Copies the line and the names of the connected shapes, not the connection itself.
    CFOLinkShape& operator=(const CFOLinkShape& src);
    CFODrawShape* Copy() const override;

    using CFOLineShape::Create;
    // The line through the points, connected to the two ports (either may be null).
    virtual void Create(const POINT* points, int nCount, CFOPortShape* pFrom, CFOPortShape* pTo);
    virtual void Create(const CArray<CPoint, CPoint>* pPoints, CFOPortShape* pFrom, CFOPortShape* pTo);
    // Version (1), then for each end the owner's name and the port's index (-1: not connected).
    void Serialize(CArchive& ar) override;

    CFOPortShape* GetFromPort() const { return m_pFromPort; }
    CFOPortShape* GetToPort() const { return m_pToPort; }
    void SetLinkPorts(CFOPortShape* pFrom, CFOPortShape* pTo);
    // Moves the end points onto the connected ports.
    virtual void RelayoutPoints();
    virtual void RelayoutTrackPoints();
    // Finds the stored connection in the model; unknown names leave the end unconnected.
    void ReconnectPorts(IFOShapeOwner* pOwner);
    // Called by a port that goes away.
    void OnPortRemoved(CFOPortShape* pPort) override;

private:
    void StoreEnd(CFOPortShape* pPort, CString& owner, int& index) const;

    CFOPortShape* m_pFromPort = nullptr;
    CFOPortShape* m_pToPort = nullptr;
    CString m_strFromShape;
    int m_nFromPort = -1;
    CString m_strToShape;
    int m_nToPort = -1;
};
