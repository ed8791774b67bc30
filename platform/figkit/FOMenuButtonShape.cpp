#include "figkit/FOMenuButtonShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"
#include "mfc/Menu.h"
#include "mfc/Wnd.h"
#include "mfc/SysColor.h"

#include <cwchar>

IMPLEMENT_SERIAL(CFOMenuButtonShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOMenuButtonShape::CFOMenuButtonShape()
{
    SetType(FO_COMP_MENUBUTTON);
}

CFOMenuButtonShape::CFOMenuButtonShape(const CFOMenuButtonShape& src) : CFODrawPortsShape(src) {}

CFOMenuButtonShape::~CFOMenuButtonShape() = default;

CFOMenuButtonShape& CFOMenuButtonShape::operator=(const CFOMenuButtonShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOMenuButtonShape::Copy() const
{
    return new CFOMenuButtonShape(*this);
}

int CFOMenuButtonShape::GetMenuEntryCount() const
{
    CStringArray records;
    return FOStringToStringArray(GetStateString(), L"@", records);
}

BOOL CFOMenuButtonShape::GetMenuEntry(int nIndex, CString& strId, UINT& nEventType, CString& strEvent) const
{
    CStringArray records;
    FOStringToStringArray(GetStateString(), L"@", records);
    if (nIndex < 0 || nIndex >= records.GetSize())
        return FALSE;
    const CString& record = records[nIndex];
    const int dollar = record.Find(L'$');
    strId = dollar < 0 ? record : record.Left(dollar);
    const CString body = dollar < 0 ? CString() : record.Mid(dollar + 1);
    const int hash = body.Find(L'#');
    const CString type = hash < 0 ? body : body.Left(hash);
    nEventType = UINT(std::wcstoul(type.GetString(), nullptr, 10));
    strEvent = hash < 0 ? CString() : body.Mid(hash + 1);
    return TRUE;
}

int CFOMenuButtonShape::TrackEntryMenu(CWnd* pOwner, CPoint ptScreen) const
{
    const int count = GetMenuEntryCount();
    if (count < 1)
        return -1;
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return -1;
    for (int i = 0; i < count; ++i)
    {
        CString id, event;
        UINT type = 0;
        GetMenuEntry(i, id, type, event);
        // Command ids start at 1: 0 is the answer for no choice.
        menu.AppendMenu(MF_STRING, UINT_PTR(i + 1), id.IsEmpty() ? L" " : id.GetString());
    }
    const int chosen = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, ptScreen.x, ptScreen.y, pOwner);
    return chosen >= 1 && chosen <= count ? chosen - 1 : -1;
}

void CFOMenuButtonShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOMenuButtonShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    CRect face(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    CFODrawHelper::DrawButtonFace(pDC, face, FALSE);
    CRect inner = face;
    inner.DeflateRect(1, 1);
    pDC->Draw3dRect(&inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
    // The drop mark at the right says the button opens a menu.
    const int mark = std::max(4, std::min(rc.Height() / 4, 8));
    const int cx = rc.right - mark - 4;
    const int cy = rc.top + rc.Height() / 2;
    const POINT tri[3] = {{cx - mark, cy - mark / 2}, {cx + mark, cy - mark / 2}, {cx, cy + mark / 2}};
    CBrush brush(GetSysColor(COLOR_BTNTEXT));
    CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->Polygon(tri, 3);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    CRect text = rc;
    text.right = cx - mark - 2;
    DrawCaptionText(pDC, text, GetObjectCaption());
}
