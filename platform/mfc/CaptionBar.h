// CMFCCaptionBar: the bar across the top of a frame's client area that shows a short text with an
// image and an optional button; in message-bar mode it is the thin information bar with a close
// box, which hides it. It sits below the frame's menu and toolbars (a QToolBar that cannot be moved
// or floated).
#pragma once

#include "mfc/Controls.h"

class QLabel;
class QToolButton;

class CMFCCaptionBar : public CControlBar
{
    DECLARE_DYNCREATE(CMFCCaptionBar)
public:
    enum BarElementAlignment
    {
        ALIGN_INVALID,
        ALIGN_LEFT,
        ALIGN_RIGHT,
        ALIGN_CENTER
    };

    CMFCCaptionBar() = default;
    ~CMFCCaptionBar() override;

    using CControlBar::Create;
    // nHeight -1: the height its contents need.
    BOOL Create(DWORD dwStyle, CWnd* pParentWnd, UINT uID, int nHeight = -1, BOOL bIsMessageBarMode = FALSE);
    BOOL IsMessageBarMode() const { return m_bIsMessageBarMode; }

    void SetText(const CString& strText, BarElementAlignment eAlignment = ALIGN_LEFT);
    void RemoveText();
    const CString& GetText() const { return m_strText; }
    BarElementAlignment GetTextAlignment() const { return m_eTextAlignment; }

    // The bitmap of the resource chain, clrTransparent made see-through.
    BOOL SetBitmap(UINT nBitmapID, COLORREF clrTransparent, BOOL bStretch = FALSE,
                   BarElementAlignment eAlignment = ALIGN_LEFT);
    BOOL SetBitmap(HBITMAP hBitmap, COLORREF clrTransparent, BOOL bStretch = FALSE,
                   BarElementAlignment eAlignment = ALIGN_LEFT);
    void RemoveBitmap();
    BOOL HasBitmap() const { return m_bHasBitmap; }
    void SetImageToolTip(const CString& strToolTip, const CString& strDescription);
    const CString& GetImageToolTip() const { return m_strImageToolTip; }
    const CString& GetImageDescription() const { return m_strImageDescription; }

    // The button sends uiCmdUI to the frame as WM_COMMAND.
    void SetButton(LPCWSTR lpszLabel, UINT uiCmdUI, BarElementAlignment eAlignment = ALIGN_LEFT,
                   BOOL bHasDropDownArrow = TRUE);
    void RemoveButton();
    BOOL HasButton() const { return m_uiBtnID != 0; }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

protected:
    void UpdateWidgets();

    BOOL m_bIsMessageBarMode = FALSE;
    int m_nHeight = -1;
    CString m_strText;
    BarElementAlignment m_eTextAlignment = ALIGN_LEFT;
    BOOL m_bHasBitmap = FALSE;
    CString m_strImageToolTip;
    CString m_strImageDescription;
    CString m_strBtnText;
    UINT m_uiBtnID = 0;

    QLabel* m_pImage = nullptr;
    QLabel* m_pText = nullptr;
    QToolButton* m_pButton = nullptr;
    QToolButton* m_pClose = nullptr;
};
