// The fixture of window tests that run under their own application object: the framework set up
// with the test program's resources and a temporary folder; at the end every document closed, the
// main window destroyed, the folder removed and the framework ended.
#pragma once

#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "support/ModalHook.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class CAppWindowTest : public ::testing::Test
{
protected:
    // resources: the name of the test program's resource module; prefix: of the temporary folder;
    // closingAnswer: what message boxes of the closing get (0 leaves them to the hook in place).
    CAppWindowTest(const char* resources, const char* prefix, int closingAnswer = 0)
        : m_resources(resources), m_prefix(prefix), m_nClosingAnswer(closingAnswer)
    {
    }
    virtual CWinApp& App() = 0;

    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        AfxSetResourceHandle(AfxGetModuleByName(m_resources.c_str()));
        std::string tmpl = "/tmp/" + m_prefix + "XXXXXX";
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override
    {
        {
            std::unique_ptr<CModalRecorder> answer;
            if (m_nClosingAnswer)
                answer = std::make_unique<CModalRecorder>(m_nClosingAnswer);
            App().CloseAllDocuments(TRUE);
            if (App().m_pMainWnd)
                App().m_pMainWnd->DestroyWindow();
        }
        App().m_pMainWnd = nullptr;
        AfxPumpMessages();
        std::filesystem::remove_all(m_dir);
        AfxWinTerm();
        AfxSetResourceHandle(nullptr);
    }

    std::string m_dir;

private:
    std::string m_resources;
    std::string m_prefix;
    int m_nClosingAnswer;
};
