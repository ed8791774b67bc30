// The reusable wizard: CNewWizDialog shows a list of CNewWizPage child dialogs one at a time at the
// top-left corner of a placeholder control, with Back, Next and Finish buttons. A page window is
// made the first time the page is shown; Finish asks only the pages that were made.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/Dialog.h"
#include "mfc/Dc.h"

#include <vector>

class CNewWizDialog;

// The wizard's own ids: the default-button ids of inner and last pages, and the Finish result.
#define ID_WIZ_DEFAULT_NEXT 10217
#define ID_WIZ_DEFAULT_FINISH 10215
#define ID_WIZ_FINISH_RESULT 10215
// The standard wizard command ids that derived dialogs bind their buttons to.
#define ID_WIZBACK 12323
#define ID_WIZNEXT 12324
#define ID_WIZFINISH 12325

class CNewWizPage : public CDialog
{
    friend class CNewWizDialog;

public:
    CNewWizPage(LPCWSTR lpszTemplateName, CNewWizDialog* pWizard);
    CNewWizPage(UINT nIDTemplate, CNewWizDialog* pWizard);
    ~CNewWizPage() override;

    virtual BOOL OnCreatePage() { return TRUE; }
    virtual void OnDestroyPage() {}
    // FALSE keeps the page shown.
    virtual BOOL OnKillActive() { return TRUE; }
    virtual void OnSetActive() {}
    // FALSE refuses Cancel.
    virtual BOOL OnQueryCancel() { return TRUE; }
    // -1 stays, 0 goes to the neighbour page, anything else names a page by its resource id.
    virtual LRESULT OnWizardBack() { return 0; }
    virtual LRESULT OnWizardNext() { return 0; }
    // FALSE refuses Finish.
    virtual BOOL OnWizardFinish() { return TRUE; }
    // Called before the page is shown by Next (before it is made, the first time).
    virtual void UpdateList() {}

    BOOL OnInitDialog() override;
    // Escape inside a page does nothing.
    void OnCancel() override {}
    void DoDataExchange(CDataExchange*) override {}

    BOOL IsCreated() const { return m_bCreated; }
    BOOL IsActive() const { return m_bActive; }
    UINT GetResourceId() const { return m_nResourceID; }
    CNewWizDialog* GetWizard() const { return m_pWizard; }

protected:
    DECLARE_MESSAGE_MAP()

    CFont m_LargeFont;
    CBrush m_Brush;
    CNewWizDialog* m_pWizard = nullptr;
    BOOL m_bCreated = FALSE;
    BOOL m_bActive = FALSE;
    UINT m_nResourceID = 0;
};

class CNewWizDialog : public CDialog
{
public:
    CNewWizDialog(LPCWSTR lpszTemplateName, CWnd* pParent = nullptr);
    CNewWizDialog(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CNewWizDialog() override;

    void AddPage(CNewWizPage* pPage, UINT nID);
    void SetPlaceholderID(int nPlaceholderID) { m_nPlaceholderID = nPlaceholderID; }

    BOOL SetFirstPage();
    void SetNextPage();
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CNewWizPage* pPage);
    BOOL SetActivePageByResource(UINT nResourceID);

    int GetPageCount() const { return int(m_pages.size()); }
    CNewWizPage* GetPage(int nPage) const;
    int GetPageIndex(CNewWizPage* pPage) const;
    int GetActiveIndex() const;
    CNewWizPage* GetActivePage() const;
    CNewWizPage* GetFirstPage() const { return m_pages.empty() ? nullptr : m_pages.front(); }
    CNewWizPage* GetLastPage() const { return m_pages.empty() ? nullptr : m_pages.back(); }
    CNewWizPage* GetNextPage() const;
    CNewWizPage* GetPageByResourceID(UINT nResourceID) const;

    void EnableBack(BOOL bEnable);
    void EnableNext(BOOL bEnable);
    void EnableFinish(BOOL bEnable);
    void SetTitle(LPCWSTR lpszText);
    void SetTitle(UINT nIDText);
    void SetFinishText(LPCWSTR lpszText);
    void SetFinishText(UINT nIDText);
    void SetFocusAndDef(CNewWizPage* pPage);
    // The default-button id last asked for (10217 inside, 10215 on the last page).
    UINT GetWizardDefID() const { return m_nDefID; }

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange*) override {}

    afx_msg void OnWizardBack();
    afx_msg void OnWizardNext();
    afx_msg void OnWizardFinish();
    afx_msg void OnDestroy() override;

    CButton m_FinishButton;
    CButton m_BackButton;
    CButton m_NextButton;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void Init();
    BOOL ActivatePage(CNewWizPage* pPage);
    BOOL DeactivatePage();
    BOOL DestroyPage(CNewWizPage* pPage);
    // The page a Next or Back answer names; null to stay.
    CNewWizPage* ChoosePage(LRESULT answer, int nNeighbour) const;
    void EnableButton(CButton& button, int nID, BOOL bEnable);

    std::vector<CNewWizPage*> m_pages;
    int m_nPlaceholderID = 0;
    UINT m_nDefID = 0;
};
