#include "mfc/FileDialog.h"

#include "WndTestSupport.h"

#include <gtest/gtest.h>

using wndtest::CHookScope;

TEST(FileDialogTest, FilterSplitsIntoTextAndPatterns)
{
    struct Case
    {
        LPCWSTR filter;
        std::vector<std::pair<CString, CString>> expected;
    } cases[] = {
        {L"Screen Files(.xdg)|*.xdg||", {{L"Screen Files(.xdg)", L"*.xdg"}}},
        {L"All (.xdg;.dcp)|*.xdg;*.dcp|Scripts|*.uscp||",
         {{L"All (.xdg;.dcp)", L"*.xdg;*.dcp"}, {L"Scripts", L"*.uscp"}}},
        // A filter without the closing pair still gives its pairs; a text without patterns is dropped.
        {L"Text|*.txt", {{L"Text", L"*.txt"}}},
        {L"Text|*.txt|Lonely", {{L"Text", L"*.txt"}}},
        {L"", {}},
        {nullptr, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CFileDialog::ParseFilter(c.filter))
            << (c.filter ? CString(c.filter).GetString() : L"(null)");
}

TEST(FileDialogTest, HookChoosesAndTheDialogTellsThePaths)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    struct Case
    {
        BOOL bOpen;
        DWORD dwFlags;
        std::vector<CString> chosen;
        int answer;
        INT_PTR expected;
        std::vector<CString> paths;
    } cases[] = {
        {TRUE, OFN_HIDEREADONLY, {L"/p/Main.xdg"}, IDOK, IDOK, {L"/p/Main.xdg"}},
        // Without multiple selection only the first choice counts.
        {TRUE, 0, {L"/p/a.xdg", L"/p/b.xdg"}, IDOK, IDOK, {L"/p/a.xdg"}},
        {TRUE, OFN_ALLOWMULTISELECT, {L"/p/a.xdg", L"/p/b.dcp"}, IDOK, IDOK, {L"/p/a.xdg", L"/p/b.dcp"}},
        // A save choice without an extension gets the default one; '\' is taken as '/'.
        {FALSE, OFN_OVERWRITEPROMPT, {L"\\p\\New"}, IDOK, IDOK, {L"/p/New.xdg"}},
        {FALSE, OFN_OVERWRITEPROMPT, {L"/p/New.txt"}, IDOK, IDOK, {L"/p/New.txt"}},
        {TRUE, 0, {L"/p/a.xdg"}, IDCANCEL, IDCANCEL, {}},
        {TRUE, 0, {}, IDOK, IDCANCEL, {}},
    };
    for (const Case& c : cases)
    {
        AfxModalRequest seen;
        CHookScope hook(
            [&](const AfxModalRequest& r)
            {
                seen.kind = r.kind;
                seen.bOpenFileDialog = r.bOpenFileDialog;
                seen.strDefExt = r.strDefExt;
                seen.strFilter = r.strFilter;
                seen.strText = r.strText;
                seen.dwFlags = r.dwFlags;
                r.paths = c.chosen;
                return c.answer;
            });
        CFileDialog dlg(c.bOpen, L"xdg", L"Start.xdg", c.dwFlags, L"Screen Files(.xdg)|*.xdg||");
        EXPECT_EQ(c.expected, dlg.DoModal());
        EXPECT_EQ(AfxModalKind::FileDialog, seen.kind);
        EXPECT_EQ(c.bOpen, seen.bOpenFileDialog);
        EXPECT_EQ(CString(L"xdg"), seen.strDefExt);
        EXPECT_EQ(CString(L"Screen Files(.xdg)|*.xdg||"), seen.strFilter);
        EXPECT_EQ(CString(L"Start.xdg"), seen.strText);
        EXPECT_EQ(c.dwFlags, seen.dwFlags);
        std::vector<CString> got;
        for (POSITION pos = dlg.GetStartPosition(); pos;)
            got.push_back(dlg.GetNextPathName(pos));
        EXPECT_EQ(c.paths, got);
        EXPECT_EQ(c.paths.empty() ? CString() : c.paths.front(), dlg.GetPathName());
    }
}

TEST(FileDialogTest, NamePartsAndTheCallersBuffer)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    CHookScope hook(
        [](const AfxModalRequest& r)
        {
            r.paths = {L"/home/ann/Plant 1/Main.screen.xdg"};
            return IDOK;
        });
    wchar_t buffer[16] = L"";
    CFileDialog dlg(TRUE);
    dlg.m_ofn.lpstrFile = buffer;
    dlg.m_ofn.nMaxFile = 16;
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(CString(L"Main.screen.xdg"), dlg.GetFileName());
    EXPECT_EQ(CString(L"xdg"), dlg.GetFileExt());
    EXPECT_EQ(CString(L"Main.screen"), dlg.GetFileTitle());
    EXPECT_EQ(CString(L"/home/ann/Plant 1"), dlg.GetFolderPath());
    // The buffer gets as much of the path as fits, always terminated.
    EXPECT_EQ(std::wstring(L"/home/ann/Plant"), std::wstring(buffer));
}
