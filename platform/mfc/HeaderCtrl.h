// CHeaderCtrl: the header above a report list's columns. Every list has one of its own that paints
// plain raised cells; a derived header takes a list's over (SubclassHeader) and then decides its
// height (OnLayout, as HDM_LAYOUT does) and paints it itself (OnPaint).
#pragma once

#include "mfc/Geometry.h"
#include "mfc/Object.h"

class CDC;
class CListCtrl;

class CHeaderCtrl : public CObject
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() = default;
    ~CHeaderCtrl() override;
    CHeaderCtrl(const CHeaderCtrl&) = delete;
    CHeaderCtrl& operator=(const CHeaderCtrl&) = delete;

    // Becomes the list's header; FALSE when it already serves a list or the list is null.
    BOOL SubclassHeader(CListCtrl* pList);
    CListCtrl* GetListCtrl() const { return m_pList; }

    int GetItemCount() const;
    // A column's cell in the header's client coordinates.
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    // The header's client rectangle (the list's width, the header's height).
    void GetClientRect(LPRECT lpRect) const;
    void Invalidate();

    // The height for a default height measured from the font.
    virtual int OnLayout(int nDefaultHeight) { return nDefaultHeight; }
    // Paints the whole header into pDC.
    virtual void OnPaint(CDC* pDC);

private:
    friend class CListCtrl;
    CListCtrl* m_pList = nullptr;
};
