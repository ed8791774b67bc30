// The runtime player's application object.
#pragma once

#include "foundation/CommandLineInfoEx.h"
#include "player/PlexrunApp.h"

class CQYRViewApp : public CPlexrunApp
{
public:
    CQYRViewApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    const CCommandLineInfoEx& GetCommandLineInfo() const { return m_cmdInfo; }

protected:
    CCommandLineInfoEx m_cmdInfo;
    DECLARE_MESSAGE_MAP()
};
