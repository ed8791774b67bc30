// The frames of the extended framework, as the programs derive from them. Docking panes, ribbon and
// visual managers are not part of this layer; the frames behave as their plain bases and hand the
// application their CFrameImpl when the main frame closes.
#pragma once

#include "mfc/FrameWnd.h"

// The extended framework's per-frame part; here it only knows its frame.
class CFrameImpl
{
public:
    explicit CFrameImpl(CFrameWnd* pFrame) : m_pFrame(pFrame) {}
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    CFrameWnd* m_pFrame;
};

class CFrameWndEx : public CFrameWnd
{
    DECLARE_DYNCREATE(CFrameWndEx)
public:
    CFrameWndEx() : m_Impl(this) {}
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }

protected:
    CFrameImpl m_Impl;
    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWndEx : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWndEx)
public:
    CMDIFrameWndEx() : m_Impl(this) {}
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }

protected:
    CFrameImpl m_Impl;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWndEx : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CMDIChildWndEx)
public:
    CMDIChildWndEx() = default;

protected:
    DECLARE_MESSAGE_MAP()
};
