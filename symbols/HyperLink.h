// CFOHyperLink and its window class "FOHyperLink": a text that shows as a link and opens its address
// when clicked (or Space/Enter while it has the focus). The address is the one set by SetURL, else
// the window text; it opens through OpenLinkInBrowser, so only the link schemes it allows go out.
#pragma once

#include "mfc/CString.h"
#include "mfc/Wnd.h"

#define FOHYPERLINK_CLASSW L"FOHyperLink"

class CFOHyperLink : public CWnd
{
    DECLARE_DYNAMIC(CFOHyperLink)
public:
    CFOHyperLink() = default;
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetURL(LPCWSTR lpszURL) { m_strURL = lpszURL ? lpszURL : L""; }
    CString GetURL() const;
    // Opens the address; FALSE when it was refused or could not be handed on.
    virtual BOOL GotoURL();
    BOOL IsVisited() const { return m_bVisited; }

protected:
    CString m_strURL;
    BOOL m_bVisited = FALSE;
};
