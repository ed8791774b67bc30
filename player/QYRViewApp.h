// The runtime player's application object: OLE set-up, command line, single instance, project
// choice, the single document template (document, main frame, view) and the main window.
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

    afx_msg void OnAppAbout();

protected:
    CCommandLineInfoEx m_cmdInfo;
    DECLARE_MESSAGE_MAP()
};
