#include "mfc/AfxInit.h"

#include "com/ComBase.h"

#include <atomic>

namespace
{
std::atomic<bool> g_controlContainer{false};
} // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

BOOL AfxOleInit()
{
    return SUCCEEDED(OleInitialize(nullptr));
}

void AfxEnableControlContainer()
{
    g_controlContainer = true;
}

BOOL AfxIsControlContainerEnabled()
{
    return g_controlContainer;
}
