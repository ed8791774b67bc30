#include "symbols/AboutDlg.h"

#include "win32/Registry.h"

#include <QProcess>

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_BN_CLICKED(CAboutDlg::IDC_SYSTEM_INFO, &CAboutDlg::OnSystemInfo)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK, m_link);
}

void CAboutDlg::OnSystemInfo()
{
    StartSystemInfo();
}

BOOL CAboutDlg::StartSystemInfo()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return FALSE;
    // At most 260 bytes, as the value has always been read.
    wchar_t path[260 / sizeof(wchar_t)] = {};
    DWORD size = sizeof(path) - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<LPBYTE>(path), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || !path[0])
        return FALSE;
    // The program alone, no shell and no arguments.
    return QProcess::startDetached(QString::fromWCharArray(path), {});
}
