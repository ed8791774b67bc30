// A shape that hosts a child window of the canvas, kept on the shape's rectangle: the window is made
// when the shape gets its canvas (SetParentWnd), follows the shape's place and visibility, and is
// destroyed when the shape leaves its canvas or is deleted.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CWnd;

class CFOWndControlShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOWndControlShape)
public:
    CFOWndControlShape();
    explicit CFOWndControlShape(UINT nCtrlID);
    CFOWndControlShape(const CFOWndControlShape& src);
    ~CFOWndControlShape() override;
    // Copies the shape and the control id, not the window.
    CFOWndControlShape& operator=(const CFOWndControlShape& src);
    CFODrawShape* Copy() const override;

    // Makes the hosted window as a child of pParent with the id; 0 on success. The base hosts none.
    virtual int CreateWnd(CWnd* pParent, int nID);
    // Destroys and deletes the hosted window.
    virtual void DestroyWnd();
    CWnd* GetWnd() const { return m_pWnd; }
    // Takes ownership of a window made by a derived class.
    void SetWnd(CWnd* pWnd);
    UINT GetCtrlID() const { return m_nCtrlID; }
    void SetCtrlID(UINT nID) { m_nCtrlID = nID; }

    // Base record, version (1), control id.
    void Serialize(CArchive& ar) override;
    // A canvas makes the window (CreateWnd with the control id) when there is none; null
    // destroys it.
    void SetParentWnd(CWnd* pWnd) override;
    // Puts the window on the shape's rectangle as its canvas shows it (zoom, scroll, rulers).
    void PlaceWnd();
    void UpdateComp() override;
    void SetVisible(BOOL bVisible) override;
    // Without a window: a framed box with the caption.
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

protected:
    CWnd* m_pWnd = nullptr;
    UINT m_nCtrlID = 0;
};
