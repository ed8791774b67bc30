#include "player/PlexrunApp.h"

#include "model/WorkSpaceObj.h"

CPlexrunApp::CPlexrunApp() : VEzudiZuroDoz(128, 128) {}

BOOL CPlexrunApp::InitInstance() { return VEzudiZuroDoz::InitInstance(); }

int CPlexrunApp::ExitInstance()
{
    if (CWorkSpaceObj* ws = GetWorkSpace())
    {
        ws->CloseDocument();
        delete ws;
        SetWorkSpace(nullptr);
    }
    return VEzudiZuroDoz::ExitInstance();
}
