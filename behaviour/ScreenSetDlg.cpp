#include "behaviour/ScreenSetDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "editor/MethodChooseDlg.h"
#include "editor/ProjectDialogs.h"

BEGIN_MESSAGE_MAP(CScreenSetDlg, CDialog)
ON_BN_CLICKED(IDC_SCREEN_START_BUTTON, &CScreenSetDlg::OnStartScript)
ON_BN_CLICKED(IDC_SCREEN_TIMER_BUTTON, &CScreenSetDlg::OnTimerScript)
ON_BN_CLICKED(IDC_SCREEN_CLOSE_BUTTON, &CScreenSetDlg::OnCloseScript)
END_MESSAGE_MAP()

CScreenSetDlg::CScreenSetDlg(CWnd* pParent) : CDialog(IDD_SCREEN_SET, pParent) {}

void CScreenSetDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCREEN_START_BUTTON, m_start);
    DDX_Control(pDX, IDC_SCREEN_TIMER_BUTTON, m_timer);
    DDX_Control(pDX, IDC_SCREEN_CLOSE_BUTTON, m_close);
    DDX_Control(pDX, IDC_SCREEN_PERIOD_SPIN, m_spin);
    DDX_Text(pDX, IDC_SCREEN_START_SCRIPT, m_strStartScript);
    DDX_Text(pDX, IDC_SCREEN_TIMER_SCRIPT, m_strTimerScript);
    DDX_Text(pDX, IDC_SCREEN_CLOSE_SCRIPT, m_strCloseScript);
    DDX_Text(pDX, IDC_SCREEN_PERIOD, m_nPeriod);
    DDV_MinMaxInt(pDX, m_nPeriod, 2, 5000);
}

BOOL CScreenSetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(
        this, {IDC_SCREEN_START_SCRIPT, IDC_SCREEN_TIMER_SCRIPT, IDC_SCREEN_CLOSE_SCRIPT, IDC_SCREEN_PERIOD});
    for (CFOImageButton* button : {&m_start, &m_timer, &m_close})
    {
        button->SetImage(IDB_SCREEN_SCRIPT);
        button->SetHandCursor(IDC_HAND_CURSOR);
        button->SetCaptionFont(12, 700);
        // A COLORREF: blue.
        button->SetCaptionColor(0xFF0000);
    }
    SetDlgItemText(IDC_SCREEN_START_METHOD, L"Method:  " + m_strStartMethod);
    SetDlgItemText(IDC_SCREEN_TIMER_METHOD, L"Method:  " + m_strTimerMethod);
    SetDlgItemText(IDC_SCREEN_CLOSE_METHOD, L"Method:  " + m_strCloseMethod);
    m_spin.SetBase(10);
    m_spin.SetRange32(2, 5000);
    m_spin.SetPos32(m_nPeriod);
    return TRUE;
}

void CScreenSetDlg::ChooseScript(CString& strScript, CString& strMethod, int nScriptEdit, int nMethodLabel)
{
    MBScriptChooseDlg chooser(this);
    chooser.m_bListScreens = FALSE;
    chooser.m_strProjectFolder = behaviour::ProjectFolder();
    chooser.m_strValue = strScript;
    if (chooser.DoModal() != IDOK)
        return;
    strScript = chooser.m_strValue;
    if (behaviour::IsScriptName(strScript, TRUE))
    {
        CMethodChooseDlg methods(this);
        methods.m_strScriptFile = strScript;
        methods.m_strMethod = strMethod;
        if (methods.DoModal() == IDOK)
        {
            strMethod = methods.m_strMethod;
            SetDlgItemText(nMethodLabel, L"Method:  " + strMethod);
        }
    }
    // Only this group's edit: a period being typed stays as it is.
    SetDlgItemText(nScriptEdit, strScript);
}

void CScreenSetDlg::OnStartScript()
{
    ChooseScript(m_strStartScript, m_strStartMethod, IDC_SCREEN_START_SCRIPT, IDC_SCREEN_START_METHOD);
}

void CScreenSetDlg::OnTimerScript()
{
    ChooseScript(m_strTimerScript, m_strTimerMethod, IDC_SCREEN_TIMER_SCRIPT, IDC_SCREEN_TIMER_METHOD);
}

void CScreenSetDlg::OnCloseScript()
{
    ChooseScript(m_strCloseScript, m_strCloseMethod, IDC_SCREEN_CLOSE_SCRIPT, IDC_SCREEN_CLOSE_METHOD);
}
