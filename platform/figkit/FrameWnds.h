// The diagram library's frame windows, the bases of the programs' frames. They add no state of
// their own and pass creation, closing and help on to the framework's frames.
#pragma once

#include "figkit/Figkit.h"
#include "mfc/FrameWnd.h"

class CFOPFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CFOPFrameWnd)
public:
    CFOPFrameWnd() = default;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    DECLARE_MESSAGE_MAP()
};

class CFOPMDIFrameWnd : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CFOPMDIFrameWnd)
public:
    CFOPMDIFrameWnd() = default;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    DECLARE_MESSAGE_MAP()
};

class CFOPMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CFOPMDIChildWnd)
public:
    CFOPMDIChildWnd() = default;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    DECLARE_MESSAGE_MAP()
};
