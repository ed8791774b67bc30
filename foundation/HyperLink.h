// CFOHyperLink: a static text that behaves as a web link. Bound to a template's static with
// DDX_Control (or SubclassDlgItem); the text without a URL opens itself, a URL without a text shows
// itself. A click opens the address through the shell's open (the desktop's opener); when that
// fails, through the browser command the registry names for ".htm", the address passed as one
// argument. The text is drawn in the link, hover or visited colour and underlined.
#pragma once

#include "mfc/Dc.h"
#include "mfc/StaticCtl.h"

#include <memory>

class QObject;

class CFOHyperLink : public CStatic
{
    DECLARE_DYNAMIC(CFOHyperLink)
public:
    CFOHyperLink();
    ~CFOHyperLink() override;

    virtual void SetURL(CString strURL);
    virtual CString GetURL() const;
    // 0xFFFFFFFF as the hover colour stands for the system highlight colour.
    virtual void SetColors(COLORREF crLinkColour, COLORREF crVisitedColour,
                           COLORREF crHoverColour = 0xFFFFFFFF);
    virtual COLORREF GetLinkColor() const;
    virtual COLORREF GetVisitedColor() const;
    virtual COLORREF GetHoverColor() const;
    virtual void SetVisited(BOOL bVisited = TRUE);
    virtual BOOL GetVisited() const;
    // Null puts back the default link cursor.
    virtual void SetLinkCursor(HCURSOR hCursor);
    virtual HCURSOR GetLinkCursor() const;
    virtual void SetUnderline(BOOL bUnderline = TRUE);
    virtual BOOL GetUnderline() const;
    virtual void SetAutoSize(BOOL bAutoSize = TRUE);
    virtual BOOL GetAutoSize() const;
    // Above 32 when the address was handed on.
    virtual HINSTANCE GotoURL(LPCWSTR url, int showcmd);
    virtual void ReportError(int nError);
    // The default value of root\key into retdata (at most MAX_PATH characters with the end);
    // ERROR_SUCCESS only when both opening and reading succeed.
    virtual LONG GetRegKey(HKEY key, LPCWSTR subkey, LPWSTR retdata);
    virtual void PositionWindow();
    virtual void SetDefaultCursor();

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The colour the text is drawn in now.
    COLORREF GetTextColor() const;
    // The text shown with an error code after "Unable to open hyperlink:\n\n".
    static CString ErrorText(int nError);

    // A click on the link (the static's click notification).
    afx_msg void OnClicked();
    // The mouse moved to point (client coordinates; outside when it left).
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) override;

protected:
    void ApplyLook();
    void MakeFont();

    COLORREF m_crLinkColour;
    COLORREF m_crVisitedColour;
    COLORREF m_crHoverColour;
    BOOL m_bOverControl = FALSE;
    BOOL m_bVisited = FALSE;
    BOOL m_bUnderline = TRUE;
    BOOL m_bAdjustToFit = TRUE;
    CString m_strURL;
    CFont m_Font;
    HCURSOR m_hLinkCursor = nullptr;
    // The tooltip's text (the URL).
    CString m_strToolTip;

private:
    std::unique_ptr<QObject> m_pEvents;
};
