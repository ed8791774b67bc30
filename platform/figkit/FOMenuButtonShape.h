// CFOMenuButtonShape: an option-menu button. It looks like a plain push button with a drop mark;
// its menu entries are the records of its state string (entry id "$" event type "#" event string,
// records joined by "@"), which the editor's menu editor writes.
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "mfc/Geometry.h"

class CWnd;

class CFOMenuButtonShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOMenuButtonShape)
public:
    CFOMenuButtonShape();
    CFOMenuButtonShape(const CFOMenuButtonShape& src);
    ~CFOMenuButtonShape() override;
    CFOMenuButtonShape& operator=(const CFOMenuButtonShape& src);
    CFODrawShape* Copy() const override;

    // The number of menu entries and one of them; FALSE for an index out of range. An entry without
    // a body has event type 0 and an empty event string.
    int GetMenuEntryCount() const;
    BOOL GetMenuEntry(int nIndex, CString& strId, UINT& nEventType, CString& strEvent) const;
    // Shows the entries (their ids as texts) in a popup menu at a screen point, owned by pOwner, and
    // returns the index of the chosen one, or -1 when none was chosen or there are none.
    int TrackEntryMenu(CWnd* pOwner, CPoint ptScreen) const;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
