// A shape that hosts a child window of the canvas, kept on the shape's rectangle: the window is made
// when the shape gets its canvas (SetParentWnd), follows the shape's place and visibility, and is
// destroyed when the shape leaves its canvas or is deleted.
#pragma once

#include "figkit/FODrawPortsShape.h"

#include <vector>

class CView;
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

    // Property pages of the hosted control, which the canvas opens on a design-time double-click.
    // The base has none: FALSE, nothing opens.
    virtual BOOL HasPropertyPages() const { return FALSE; }
    // Runs the pages; TRUE when they closed with OK. pView is the view asking (may be null).
    virtual BOOL OnEditProperties(CView* pView)
    {
        (void)pView;
        return FALSE;
    }
    // The control's state that the pages edit, as bytes, and putting it back (undo and redo).
    virtual std::vector<BYTE> GetControlState() const { return {}; }
    virtual void SetControlState(const std::vector<BYTE>& state) { (void)state; }

protected:
    CWnd* m_pWnd = nullptr;
    UINT m_nCtrlID = 0;
};
