#include "mfc/Clipboard.h"
#include "mfc/Wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
HGLOBAL Block(const void* data, size_t size)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    return h;
}

std::string Read(HANDLE h)
{
    auto* p = static_cast<const char*>(GlobalLock(h));
    std::string s(p, GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

class ClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        QGuiApplication::clipboard()->clear();
    }
};
} // namespace

TEST_F(ClipboardTest, TextGoesOutAndComesBackInBothForms)
{
    const char utf8[] = "Pumpe \xC3\xBC"
                        "ber Kessel \xE6\xB0\xB4"; // non-Latin text crosses unchanged
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)); // one owner at a time
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(CF_TEXT, Block(utf8, sizeof utf8)), nullptr);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty()); // published only on close
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(utf8));

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    HANDLE text = GetClipboardData(CF_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Read(text), std::string(utf8, sizeof utf8)); // with its terminating zero
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(QString::fromUtf16(static_cast<const char16_t*>(GlobalLock(wide))), QString::fromUtf8(utf8));
    GlobalUnlock(wide);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
}

TEST_F(ClipboardTest, RegisteredFormatsTravelByNameAndClosedClipboardRefuses)
{
    UINT fmt = RegisterClipboardFormatW(L"Clipboard test shapes");
    const char bytes[] = {0, 1, 2, 3, 0, 5};
    EXPECT_EQ(SetClipboardData(fmt, Block(bytes, sizeof bytes)), nullptr); // not open
    EXPECT_EQ(GetClipboardData(fmt), nullptr);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(fmt, reinterpret_cast<HANDLE>(0x1234)), nullptr); // not a block of ours
    ASSERT_NE(SetClipboardData(fmt, Block(bytes, sizeof bytes)), nullptr);
    CloseClipboard();

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(IsClipboardFormatAvailable(fmt));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_EQ(Read(GetClipboardData(fmt)), std::string(bytes, sizeof bytes));
    EmptyClipboard(); // emptied and closed: nothing is left
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(fmt));
}
