// Frame-window bases of the three programs: close logging and help routing.
#pragma once

#include "figkit/FrameWnds.h"
#include "mfc/FrameWndEx.h"

class CXVKFrameWnd : public CFOPFrameWnd
{
    DECLARE_DYNCREATE(CXVKFrameWnd)
public:
    CXVKFrameWnd() = default;
    void HtmlHelp(DWORD_PTR data, UINT command = 0x000F) override;
    void WinHelp(DWORD_PTR data, UINT command = 0x0001) override;
    // Shared with the editor frame, which has no context help either.
    static void NoContextHelp(CWnd* frame, DWORD_PTR data, UINT command);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    DECLARE_MESSAGE_MAP()
};

class CXVKMDIFrameWnd : public CFOPMDIFrameWnd
{
    DECLARE_DYNCREATE(CXVKMDIFrameWnd)
public:
    CXVKMDIFrameWnd() = default;
    void HtmlHelp(DWORD_PTR data, UINT command = 0x000F) override;
    void WinHelp(DWORD_PTR data, UINT command = 0x0001) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    DECLARE_MESSAGE_MAP()
};

class CXVKMDIChildWnd : public CFOPMDIChildWnd
{
    DECLARE_DYNCREATE(CXVKMDIChildWnd)
public:
    CXVKMDIChildWnd() = default;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    DECLARE_MESSAGE_MAP()
};

class CXVKMDIFrameWndEx : public CMDIFrameWndEx
{
    DECLARE_DYNCREATE(CXVKMDIFrameWndEx)
public:
    CXVKMDIFrameWndEx() = default;
    // Sends (or posts) one message to every MDI child, starting at the active one.
    virtual LRESULT OnFctMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL post);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // Asks "Quit application?"; only on Yes does the frame let go of what it holds (OnQuitConfirmed)
    // and close.
    void OnClose() override;
    virtual void OnQuitConfirmed() {}
    DECLARE_MESSAGE_MAP()
};

class CXVKMDIChildWndEx : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(CXVKMDIChildWndEx)
public:
    CXVKMDIChildWndEx() = default;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    DECLARE_MESSAGE_MAP()
};
