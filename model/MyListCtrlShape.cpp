#include "model/MyListCtrlShape.h"

#include "figkit/FOGlobalData.h"
#include "mfc/Collections.h"
#include "model/ColorListCtrl.h"

#include <memory>

IMPLEMENT_SERIAL(CMyListCtrlShape, CFOWndControlShape, 0)

CMyListCtrlShape::CMyListCtrlShape(BOOL)
{
    SetType(627);
    SetPolyObject(FALSE);
}

CMyListCtrlShape::CMyListCtrlShape(const CMyListCtrlShape& src) : CFOWndControlShape(src) {}

CFODrawShape* CMyListCtrlShape::Copy() const
{
    return new CMyListCtrlShape(*this);
}

CColorListCtrl* CMyListCtrlShape::GetListCtrl() const
{
    return dynamic_cast<CColorListCtrl*>(GetWnd());
}

int CMyListCtrlShape::CreateWnd(CWnd* pParent, int)
{
    const CRect rc = GetDrawRect();
    auto list = std::make_unique<CColorListCtrl>(3);
    if (!list->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_EDITLABELS, rc, pParent, GetCtrlID()))
        return 0;
    list->ModifyStyle(0, LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | WS_VSCROLL);
    list->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    list->SetImageList(&gfxData.m_imageList, LVSIL_SMALL);
    list->SetFont(&gfxData.m_fontRegular);
    CStringArray names;
    names.Add(L"Event Time");
    names.Add(L"Type");
    names.Add(L"Message");
    CByteArray widths;
    widths.Add(40);
    widths.Add(30);
    widths.Add(30);
    list->SetColumns(&names, &widths);
    for (int n = 0; n < 10; ++n)
    {
        CStringArray texts;
        CString s;
        s.Format(L"Line %d", n);
        texts.Add(s);
        s.Format(L"SubLine %d-1", n);
        texts.Add(s);
        s.Format(L"SubLine %d-2", n);
        texts.Add(s);
        const int row = list->InsertRow(&texts, n);
        for (int c = 0; c < 3; ++c)
        {
            list->SetCellBackColor(6, row, c);
            list->SetCellTextColor(10, row, c);
        }
    }
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list->EnableWindow(FALSE);
    SetWnd(list.release());
    return 0;
}
