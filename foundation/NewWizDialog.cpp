#include "foundation/NewWizDialog.h"

#include "mfc/WinApp.h"

#include <algorithm>

#ifndef WS_EX_CONTROLPARENT
#define WS_EX_CONTROLPARENT 0x00010000L
#endif

// --- CNewWizPage ------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNewWizPage, CDialog)
END_MESSAGE_MAP()

CNewWizPage::CNewWizPage(LPCWSTR lpszTemplateName, CNewWizDialog* pWizard)
    : CDialog(lpszTemplateName, pWizard), m_pWizard(pWizard)
{
}

CNewWizPage::CNewWizPage(UINT nIDTemplate, CNewWizDialog* pWizard)
    : CDialog(nIDTemplate, pWizard), m_pWizard(pWizard), m_nResourceID(nIDTemplate)
{
}

CNewWizPage::~CNewWizPage()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CNewWizPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_LargeFont.CreateFont(16, 0, 0, 0, 700, FALSE, FALSE, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    return TRUE;
}

// --- CNewWizDialog ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNewWizDialog, CDialog)
ON_BN_CLICKED(ID_WIZBACK, &CNewWizDialog::OnWizardBack)
ON_BN_CLICKED(ID_WIZNEXT, &CNewWizDialog::OnWizardNext)
ON_BN_CLICKED(ID_WIZFINISH, &CNewWizDialog::OnWizardFinish)
ON_BN_CLICKED(IDCANCEL, &CNewWizDialog::OnCancel)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CNewWizDialog::CNewWizDialog(LPCWSTR lpszTemplateName, CWnd* pParent) : CDialog(lpszTemplateName, pParent)
{
    Init();
}

CNewWizDialog::CNewWizDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
    Init();
}

CNewWizDialog::~CNewWizDialog()
{
    // The pages belong to the derived dialog; only their windows go.
    m_pages.clear();
}

void CNewWizDialog::Init()
{
    m_nPlaceholderID = 0;
}

void CNewWizDialog::AddPage(CNewWizPage* pPage, UINT nID)
{
    if (!pPage)
        return;
    pPage->m_nResourceID = nID;
    m_pages.push_back(pPage);
}

CNewWizPage* CNewWizDialog::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[size_t(nPage)] : nullptr;
}

int CNewWizDialog::GetPageIndex(CNewWizPage* pPage) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

CNewWizPage* CNewWizDialog::GetActivePage() const
{
    for (CNewWizPage* p : m_pages)
        if (p->m_bActive)
            return p;
    return nullptr;
}

int CNewWizDialog::GetActiveIndex() const
{
    CNewWizPage* active = GetActivePage();
    return active ? GetPageIndex(active) : -1;
}

CNewWizPage* CNewWizDialog::GetNextPage() const
{
    const int i = GetActiveIndex();
    return i < 0 ? nullptr : GetPage(i + 1);
}

CNewWizPage* CNewWizDialog::GetPageByResourceID(UINT nResourceID) const
{
    for (CNewWizPage* p : m_pages)
        if (p->m_nResourceID == nResourceID)
            return p;
    return nullptr;
}

BOOL CNewWizDialog::ActivatePage(CNewWizPage* pPage)
{
    if (!pPage)
        return FALSE;
    if (!pPage->m_bCreated)
    {
        if (!pPage->Create(pPage->m_nResourceID, this))
            return FALSE;
        pPage->m_bCreated = TRUE;
        pPage->m_pWizard = this;
        if (!pPage->OnCreatePage())
            return FALSE;
    }
    if (!DeactivatePage())
        return FALSE;
    if (CWnd* holder = GetDlgItem(m_nPlaceholderID))
    {
        CRect rc;
        holder->GetWindowRect(&rc);
        ScreenToClient(&rc);
        pPage->SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    pPage->EnableWindow(TRUE);
    pPage->ShowWindow(SW_SHOW);
    pPage->Invalidate(TRUE);
    pPage->UpdateWindow();
    pPage->OnSetActive();
    pPage->m_bActive = TRUE;
    return TRUE;
}

BOOL CNewWizDialog::DeactivatePage()
{
    CNewWizPage* active = GetActivePage();
    if (!active)
        return TRUE;
    if (!active->OnKillActive())
        return FALSE;
    active->ShowWindow(SW_HIDE);
    active->m_bActive = FALSE;
    return TRUE;
}

BOOL CNewWizDialog::DestroyPage(CNewWizPage* pPage)
{
    if (!pPage->m_bCreated)
        return TRUE;
    if (!pPage->OnKillActive())
        return FALSE;
    pPage->OnDestroyPage();
    pPage->DestroyWindow();
    pPage->m_bCreated = FALSE;
    pPage->m_bActive = FALSE;
    return TRUE;
}

void CNewWizDialog::OnDestroy()
{
    for (CNewWizPage* p : m_pages)
        DestroyPage(p);
    CDialog::OnDestroy();
}

BOOL CNewWizDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    SetFirstPage();
    return TRUE;
}

void CNewWizDialog::EnableButton(CButton& button, int nID, BOOL bEnable)
{
    if (button.m_hWnd)
        button.EnableWindow(bEnable);
    else if (CWnd* w = GetDlgItem(nID))
        w->EnableWindow(bEnable);
}

void CNewWizDialog::EnableBack(BOOL bEnable)
{
    EnableButton(m_BackButton, ID_WIZBACK, bEnable);
}

void CNewWizDialog::EnableNext(BOOL bEnable)
{
    EnableButton(m_NextButton, ID_WIZNEXT, bEnable);
}

void CNewWizDialog::EnableFinish(BOOL bEnable)
{
    EnableButton(m_FinishButton, ID_WIZFINISH, bEnable);
}

BOOL CNewWizDialog::SetFirstPage()
{
    CNewWizPage* first = GetFirstPage();
    if (!DeactivatePage())
        return FALSE;
    EnableBack(FALSE);
    EnableFinish(GetPageCount() < 2);
    EnableNext(GetPageCount() >= 2);
    if (!ActivatePage(first))
        return FALSE;
    SetFocusAndDef(first);
    return TRUE;
}

void CNewWizDialog::SetNextPage()
{
    if (ActivatePage(GetNextPage()))
        EnableBack(TRUE);
}

BOOL CNewWizDialog::SetActivePage(int nPage)
{
    CNewWizPage* page = GetPage(nPage);
    if (!page)
        return FALSE;
    ActivatePage(page);
    return TRUE;
}

BOOL CNewWizDialog::SetActivePage(CNewWizPage* pPage)
{
    ActivatePage(pPage);
    return TRUE;
}

BOOL CNewWizDialog::SetActivePageByResource(UINT nResourceID)
{
    CNewWizPage* page = GetPageByResourceID(nResourceID);
    if (!page || !DeactivatePage())
        return FALSE;
    return ActivatePage(page);
}

CNewWizPage* CNewWizDialog::ChoosePage(LRESULT answer, int nNeighbour) const
{
    if (answer == -1)
        return nullptr;
    if (answer == 0)
        return GetPage(nNeighbour);
    return GetPageByResourceID(UINT(answer));
}

void CNewWizDialog::OnWizardNext()
{
    CNewWizPage* active = GetActivePage();
    if (!active)
        return;
    CNewWizPage* page = ChoosePage(active->OnWizardNext(), GetPageIndex(active) + 1);
    if (!page)
        return;
    page->UpdateList();
    if (!ActivatePage(page))
        return;
    if (page == GetLastPage())
    {
        EnableNext(FALSE);
        EnableFinish(TRUE);
    }
    EnableBack(TRUE);
    SetFocusAndDef(page);
}

void CNewWizDialog::OnWizardBack()
{
    CNewWizPage* active = GetActivePage();
    if (!active)
        return;
    CNewWizPage* page = ChoosePage(active->OnWizardBack(), GetPageIndex(active) - 1);
    if (!page || !ActivatePage(page))
        return;
    if (page == GetFirstPage())
    {
        EnableBack(FALSE);
        EnableFinish(FALSE);
    }
    EnableNext(TRUE);
    SetFocusAndDef(page);
}

void CNewWizDialog::OnWizardFinish()
{
    CNewWizPage* active = GetActivePage();
    if (active && !active->OnKillActive())
        return;
    for (CNewWizPage* p : m_pages)
        if (p->m_bCreated && !p->OnWizardFinish())
            return;
    UpdateData(TRUE);
    EndDialog(ID_WIZ_FINISH_RESULT);
}

void CNewWizDialog::OnCancel()
{
    for (CNewWizPage* p : m_pages)
        if (p->m_bCreated && !p->OnQueryCancel())
            return;
    CDialog::OnCancel();
}

void CNewWizDialog::SetFocusAndDef(CNewWizPage* pPage)
{
    if (!pPage || !pPage->m_hWnd)
        return;
    // The first enabled control of the page, in tab order.
    CWnd* first = nullptr;
    std::vector<CWnd*> controls;
    pPage->GetChildWindows(controls);
    for (CWnd* c : controls)
        if (c->IsWindowEnabled())
        {
            first = c;
            break;
        }
    const BOOL bLast = pPage == GetLastPage();
    m_nDefID = bLast ? ID_WIZ_DEFAULT_FINISH : ID_WIZ_DEFAULT_NEXT;
    SetDefID(m_nDefID);
    if (first && (first->GetStyle() & WS_TABSTOP))
        first->SetFocus();
    else if (CWnd* button = GetDlgItem(bLast ? ID_WIZFINISH : ID_WIZNEXT))
        button->SetFocus();
}

void CNewWizDialog::SetTitle(LPCWSTR lpszText)
{
    SetWindowText(lpszText);
}

void CNewWizDialog::SetTitle(UINT nIDText)
{
    CString text;
    text.LoadString(nIDText);
    SetWindowText(text);
}

void CNewWizDialog::SetFinishText(LPCWSTR lpszText)
{
    if (CWnd* w = GetDlgItem(ID_WIZFINISH))
        w->SetWindowText(lpszText);
}

void CNewWizDialog::SetFinishText(UINT nIDText)
{
    CString text;
    text.LoadString(nIDText);
    SetFinishText(text);
}
