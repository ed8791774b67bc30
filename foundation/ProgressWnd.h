// CProgressWnd: a small top-most captioned window that draws its own progress: a word-wrapped
// message, an optional animation to its left, a bar in one of three frame styles and an optional
// Cancel button. It pumps no messages itself; the caller updates it between units of work.
#pragma once

#include "mfc/FrameWnd.h"
#include "mfc/Dc.h"

#include <memory>

class CAnimateCtrl;
class CButton;

class CProgressWnd : public CFrameWnd
{
public:
    CProgressWnd();
    ~CProgressWnd() override;

    void Show(CWnd* pParent);
    void Hide();
    BOOL IsShowing() const;
    void SetTitle(const CString& title);
    void SetMessage(const CString& message, BOOL bRecalc = TRUE);
    void SetFullScale(UINT nScale);
    void ResetProgress();
    void UpdateProgress(UINT nDelta);
    int GetCurrentPercentScale() const;
    void SetCanCancelFlag(BOOL bCanCancel);
    void SetBarStyle(int nStyle);
    void SetAnimationFile(const CString& name);
    void SetCancelMessage(UINT nMessage) { m_nCancelMessage = nMessage; }
    BOOL WasCancelled();
    void SetWidth(int nPixels);
    void SetFillColour(COLORREF cr);
    // The Cancel label is shared by every progress window.
    void SetCancelText(const CString& text);
    static const CString& GetCancelText();

    UINT GetCurrentValue() const { return m_nValue; }
    UINT GetFullScale() const { return m_nFullScale; }
    int GetBarStyle() const { return m_nBarStyle; }
    int GetLastBarWidth() const { return m_nLastBarWidth; }
    const CRect& GetBarRect() const { return m_rcBar; }
    const CRect& GetMessageRect() const { return m_rcMessage; }
    CButton* GetCancelButton() const { return m_pCancel.get(); }
    // Counts the bar fills actually drawn (for tests: updates that change no pixel draw nothing).
    int GetBarDrawCount() const { return m_nBarDraws; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The window is a member of its owner, never deleted with its frame.
    void PostNcDestroy() override {}
    afx_msg void OnPaint() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) override;
    afx_msg void OnDestroy() override;
    afx_msg void OnCancel();
    DECLARE_MESSAGE_MAP()

private:
    void CalculateSizes();
    // Lays the window out again and redraws the bar, when it is shown.
    void Relayout();
    void DrawBar(BOOL bForce);
    void ClearBar();
    void RestartAnimation();

    COLORREF m_crFill = 0xFFFFFFFF;
    std::unique_ptr<CAnimateCtrl> m_pAnimation;
    CString m_strAnimation;
    CFont m_font;
    BOOL m_bCancelled = FALSE;
    UINT m_nCancelMessage = 0;
    std::unique_ptr<CButton> m_pCancel;
    BOOL m_bCanCancel = FALSE;
    int m_nLastBarWidth = 0;
    int m_nBarStyle = 1;
    UINT m_nValue = 0;
    UINT m_nFullScale = 100;
    CWnd* m_pParent = nullptr;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    int m_nWidth = 0;
    CRect m_rcMessage;
    CRect m_rcBar;
    CString m_strMessage;
    CString m_strTitle = L"Progress";
    BOOL m_bExists = FALSE;
    int m_nBarDraws = 0;
};
