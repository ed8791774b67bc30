#include "player/PlexrunApp.h"

#include "model/WorkSpaceObj.h"

CPlexrunApp::CPlexrunApp() : VEzudiZuroDoz(128, 128) {}

BOOL CPlexrunApp::InitInstance()
{
    return VEzudiZuroDoz::InitInstance();
}

int CPlexrunApp::ExitInstance()
{
    if (CWorkSpacePtr ws = TakeWorkSpace())
        ws->CloseDocument();
    return VEzudiZuroDoz::ExitInstance();
}
