// CResizableDialog: a dialog whose controls follow its edges when it is resized. Each anchored
// control keeps the offsets of its two corners from reference points of the client area (a corner,
// an edge's middle or the centre); a size grip sits in the bottom-right corner; by default the
// dialog cannot be made smaller than its template, and its placement can be kept in the profile.
#pragma once

#include "mfc/Dialog.h"

#include <memory>
#include <vector>

class CResizableDialog : public CDialog
{
    DECLARE_DYNAMIC(CResizableDialog)
public:
    enum AnchorType
    {
        NOANCHOR = 0,
        TOP_LEFT = 1,
        TOP_CENTER = 2,
        TOP_RIGHT = 3,
        MIDDLE_LEFT = 4,
        MIDDLE_CENTER = 5,
        MIDDLE_RIGHT = 6,
        BOTTOM_LEFT = 7,
        BOTTOM_CENTER = 8,
        BOTTOM_RIGHT = 9
    };

    CResizableDialog();
    explicit CResizableDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CResizableDialog() override;

    // FALSE for a missing control or a top-left type outside 1 to 9 (0 is allowed for the
    // bottom-right corner only: the control keeps its size).
    BOOL AddAnchor(UINT nID, int nTopLeft, int nBottomRight = NOANCHOR);
    BOOL AddAnchor(CWnd* pWnd, int nTopLeft, int nBottomRight = NOANCHOR);
    void ShowSizeGrip(BOOL bShow);
    void SetMinTrackSize(const CSize& size);
    void ResetMinTrackSize() { m_bUseMinTrack = FALSE; }
    void SetMaxTrackSize(const CSize& size);
    void ResetMaxTrackSize() { m_bUseMaxTrack = FALSE; }
    void SetMaximizedRect(const CRect& rc);
    void ResetMaximizedRect() { m_bUseMaxRect = FALSE; }
    // Keeps the placement under (section, entry) and restores it at once.
    void EnableSaveRestore(LPCWSTR lpszSection, LPCWSTR lpszEntry);

    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI) override;
    void OnDestroy() override;

protected:
    void ArrangeLayout();

private:
    struct CAnchor
    {
        HWND hWnd = nullptr;
        BOOL bListBox = FALSE;
        int nTopLeft = 0;
        CSize offTopLeft;
        int nBottomRight = 0;
        CSize offBottomRight;
    };
    static CPoint Reference(int nType, int cx, int cy);
    void SavePlacement();
    void RestorePlacement();

    BOOL m_bShowGrip = TRUE;
    BOOL m_bUseMaxTrack = FALSE;
    BOOL m_bUseMinTrack = TRUE;
    BOOL m_bUseMaxRect = FALSE;
    BOOL m_bEnableSaveRestore = FALSE;
    CString m_strSection;
    CString m_strEntry;
    BOOL m_bInitDone = FALSE;
    CSize m_szMinTrack;
    CSize m_szMaxTrack;
    CRect m_rcMaximized;
    std::vector<CAnchor> m_anchors;
};
