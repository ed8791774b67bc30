// The fixture of tests that need the framework and an application object, and nothing more.
#pragma once

#include "mfc/WinApp.h"
#include "mfc/Wnd.h"

#include <gtest/gtest.h>

class CWinAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
    }
    void TearDown() override
    {
        AfxPumpMessages();
        AfxWinTerm();
    }

    CWinApp m_app;
};
