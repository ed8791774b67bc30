// The player's document and screen model: the symbols' factory with its size rule for the
// switches, screen files, titles and the use of the process-wide OPC server document.
#include "PlayerTestSupport.h"

#include "opc/InfoMultiServerExplorerDoc.h"
#include "player/ExtDataModel.h"
#include "player/QYRViewDoc.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

using namespace player_test;

TEST(PlayerModel, SymbolsAreMadeByTypeAndTinySwitchesGetASquare)
{
    AfxEnsureApplication();
    struct Case
    {
        UINT type;
        CRect asked;
        bool square; // the 40 x 40 square centred on the first corner
    };
    const Case cases[] = {
        {611, CRect(100, 100, 110, 105), true},  {609, CRect(100, 100, 100, 100), true},
        {612, CRect(110, 105, 100, 100), true},  {613, CRect(100, 100, 105, 119), true},
        {611, CRect(100, 100, 111, 105), false}, {613, CRect(100, 100, 105, 120), false},
        {608, CRect(100, 100, 110, 105), false}, {614, CRect(100, 100, 100, 100), false},
        {610, CRect(50, 60, 200, 260), false},
    };
    CExtDataModel model;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message()
                     << c.type << " in " << c.asked.Width() << " x " << c.asked.Height());
        CRect rc = c.asked;
        CFODrawShape* shape = model.DoCreateShapeByType(c.type, rc, CString());
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetType(), c.type);
        EXPECT_FALSE(shape->GetObjectName().IsEmpty());
        const CRect got = shape->GetSnapRect();
        if (c.square)
            EXPECT_EQ(got, CRect(c.asked.left - 20, c.asked.top - 20, c.asked.left + 20, c.asked.top + 20));
        else
        {
            CRect asked = c.asked;
            asked.NormalizeRect();
            EXPECT_EQ(got.TopLeft(), asked.TopLeft());
        }
        model.InsertShape(shape);
        shape->Release();
    }
    // Names are unique; other ids go to the library's factory; 0 makes nothing.
    std::set<std::wstring> names;
    for (CFODrawShape* shape : *model.GetShapes())
        names.insert(shape->GetObjectName().GetString());
    EXPECT_EQ(names.size(), std::size(cases));
    CRect rc(0, 0, 0, 0);
    EXPECT_EQ(model.DoCreateShapeByType(0, rc, CString()), nullptr);
    EXPECT_EQ(model.DoCreateShapeByType(9999, rc, CString()), nullptr);
}

TEST(PlayerModel, ScreenFilesOpenAndEmptyOnesLeaveTheModelEmpty)
{
    AfxEnsureApplication();
    InstallRoot root;
    const CString demo = ToCString(root.root + "/Demo/demo/XdgFiles/Main.xdg");
    CExtDataModel model;
    ASSERT_TRUE(model.OpenDocument(demo));
    EXPECT_EQ(model.m_strFilePath, demo);
    int symbols = 0;
    for (CFODrawShape* shape : *model.GetShapes())
        symbols += shape->GetType() >= 608 && shape->GetType() <= 614;
    EXPECT_EQ(symbols, 3);

    const QString empty = root.root + "/empty.xdg";
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(model.OpenDocument(ToCString(empty)));
    EXPECT_EQ(model.GetShapes()->GetCount(), 0);

    MessageLog messages;
    EXPECT_FALSE(model.OpenDocument(ToCString(root.root + "/none.xdg")));
    // A screen cut short fails and leaves the model empty.
    QFile full(root.root + "/Demo/demo/XdgFiles/Main.xdg");
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    const QByteArray bytes = full.readAll();
    QFile cut(root.root + "/cut.xdg");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    EXPECT_FALSE(model.OpenDocument(ToCString(root.root + "/cut.xdg")));
    EXPECT_EQ(model.GetShapes()->GetCount(), 0);
    // The model reports nothing itself: its caller does.
    EXPECT_TRUE(messages.texts.empty());
}

TEST(PlayerDocument, TitleFromPathServerDocumentUsesAndNeverModified)
{
    AfxEnsureApplication();
    ASSERT_EQ(GetExplorerMultiActiveDocument(FALSE), nullptr);
    {
        auto* first = new CQYRViewDoc;
        ASSERT_TRUE(first->OnNewDocument());
        CInfoMultiServerExplorerDoc* servers = first->GetServerDocument(FALSE);
        ASSERT_NE(servers, nullptr);
        EXPECT_EQ(servers->GetRefCount(), 1);
        auto* second = new CQYRViewDoc;
        ASSERT_TRUE(second->OnNewDocument());
        EXPECT_EQ(second->GetServerDocument(FALSE), servers);
        EXPECT_EQ(servers->GetRefCount(), 2);

        first->SetTitleFromPath(L"C:\\P\\XdgFiles\\Main.xdg");
        EXPECT_EQ(first->GetTitle(), CString(L"Main.xdg"));
        first->SetTitleFromPath(L"/p/XdgFiles/Other.xdg");
        EXPECT_EQ(first->GetTitle(), CString(L"Other.xdg"));
        first->SetModifiedFlag(TRUE);
        EXPECT_FALSE(first->IsModified());

        delete first;
        EXPECT_EQ(GetExplorerMultiActiveDocument(FALSE), servers);
        EXPECT_EQ(servers->GetRefCount(), 1);
        delete second;
    }
    // The last use deletes it.
    EXPECT_EQ(GetExplorerMultiActiveDocument(FALSE), nullptr);
}
