// Shared by the window, application and frame tests.
#pragma once

#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"
#include "support/ModalHook.h"
#include "support/PumpUntil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace wndtest
{
using ::PumpUntil;

// Keeps pumping for ms.
inline void PumpFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
    {
        AfxPumpMessages();
        QThread::msleep(1);
    }
}

using CHookScope = CModalHookScope;

// The Qt application and this test module's resources (WndTest.rc) searched first.
class CWndTestBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        m_hRes = AfxGetModuleByName("WndTestRes");
        ASSERT_NE(m_hRes, nullptr);
        AfxSetResourceHandle(m_hRes);
    }
    void TearDown() override
    {
        AfxPumpMessages();
        AfxSetResourceHandle(nullptr);
    }

    HINSTANCE m_hRes = nullptr;
};
} // namespace wndtest
