#include "symbols/ProgramStart.h"

#include "mfc/ModalHook.h"
#include "opc/OPCDialogs.h"
#include "symbols/FOPSingleInstance.h"

BOOL FOPStartProgram(CFOPSingleInstance& guard, UINT nID, LPCWSTR lpszGuardName, LPCWSTR lpszRunning)
{
    if (!guard.Create(nID, lpszGuardName))
    {
        AfxMessageBox(lpszRunning, MB_OK);
        return FALSE;
    }
    COPCDialogs::RegisterDialogs();
    return TRUE;
}
