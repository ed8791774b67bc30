// Helpers of the viewer tests: the viewer application started in this process on an install root
// of its own (with the demo project), recording what it hands to the shared library.
#pragma once

#include "PlayerTestSupport.h"

#include "mfc/Messages.h"
#include "multiview/MainFrm.h"
#include "multiview/QYRMViewApp.h"

namespace viewer_test
{
using namespace player_test;

class CRecordingViewerApp : public CQYRMViewApp
{
public:
    int m_nTemplateCalls = 0;
    CMDIFrameWnd* m_pFrameGiven = nullptr;
    tagFRAMEINFO m_info = {};
    BOOL CreateTemplate(CMDIFrameWnd* pFrame, tagFRAMEINFO* pInfo) override
    {
        ++m_nTemplateCalls;
        m_pFrameGiven = pFrame;
        if (pInfo)
            m_info = *pInfo;
        return CQYRMViewApp::CreateTemplate(pFrame, pInfo);
    }
};

using ViewerApp = PlayerAppT<CRecordingViewerApp>;

inline CMainFrame* MainFrame(ViewerApp& viewer)
{
    return dynamic_cast<CMainFrame*>(viewer.app.m_pMainWnd);
}
} // namespace viewer_test
