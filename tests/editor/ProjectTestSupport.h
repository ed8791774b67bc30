// A temporary install root (bin/, User/, Template/) for the project tests, and the modal hook
// helpers that drive dialogs by their controls.
#pragma once

#include "mfc/Dialog.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "support/ModalHook.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace projtest
{
namespace fs = std::filesystem;

class CProjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        char tmpl[] = "/tmp/qyrprojXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_root = tmpl;
        fs::create_directories(m_root / "bin");
        fs::create_directories(m_root / "Template");
    }
    void TearDown() override
    {
        AfxPumpMessages();
        std::error_code ec;
        fs::remove_all(m_root, ec);
        AfxWinTerm();
    }

    CString Root(const std::string& rel = std::string()) const
    {
        return CString::FromUtf8((rel.empty() ? m_root : m_root / rel).string());
    }
    static void WriteFile(const fs::path& p, const std::string& bytes)
    {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The UTF-16 (with byte-order mark) bytes of a text, as the text files are written.
    static std::string Utf16(const std::wstring& text)
    {
        std::string out = "\xFF\xFE";
        for (wchar_t c : text)
        {
            out += char(c & 0xFF);
            out += char((c >> 8) & 0xFF);
        }
        return out;
    }

    CWinApp m_app;
    fs::path m_root;
};

// Runs a dialog: `drive` works it while it is shown (message boxes in between answer IDOK and
// are noted in `messages`), then the returned id is pressed.
class CDialogDriver
{
public:
    using Drive = std::function<int(CDialog&)>;
    explicit CDialogDriver(Drive drive)
        : m_scope(
              [this, drive](const AfxModalRequest& r) -> int
              {
                  if (r.kind == AfxModalKind::MessageBox)
                  {
                      messages.push_back(r.strText);
                      return answer;
                  }
                  if (r.kind == AfxModalKind::FolderDialog)
                  {
                      if (folder.IsEmpty())
                          return IDCANCEL;
                      r.paths.push_back(folder);
                      return IDOK;
                  }
                  if (r.kind == AfxModalKind::ColorDialog)
                  {
                      colours.push_back(r.crColor);
                      r.crColor = colour;
                      return colour == kNoColour ? IDCANCEL : IDOK;
                  }
                  if (r.kind == AfxModalKind::Dialog && r.pDialog)
                  {
                      if (nested++ == 0)
                          return drive(*r.pDialog);
                      return nestedAnswer ? nestedAnswer(*r.pDialog) : IDCANCEL;
                  }
                  return IDCANCEL;
              })
    {
    }
    std::vector<CString> messages;
    int answer = IDOK;
    CString folder;
    int nested = 0;
    Drive nestedAnswer;
    // The colour dialog's choice (kNoColour: cancelled) and the colours it opened on.
    static constexpr COLORREF kNoColour = 0xFFFFFFFF;
    COLORREF colour = kNoColour;
    std::vector<COLORREF> colours;

private:
    CModalHookScope m_scope;
};

inline void Click(CDialog& dlg, int nID)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
}
} // namespace projtest
