#include "foundation/MemDC.h"
#include "foundation/MyFileDialog.h"
#include "foundation/ResizableDialog.h"

#include "mfc/Print.h"
#include "mfc/ResourceModule.h"
#include "support/ModalHook.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

TEST(MemDC, DrawsOffScreenAndCopiesTheClipBoxBackInPlace)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    QImage target(60, 40, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        CImageDC dc(target);
        dc.IntersectClipRect(10, 5, 50, 35);
        {
            CMemDC mem(&dc);
            ASSERT_TRUE(mem.IsMemDC());
            EXPECT_EQ(CRect(10, 5, 50, 35), mem.GetArea());
            // Drawing uses the target's coordinates; nothing reaches the target before the end.
            mem.FillSolidRect(CRect(10, 5, 50, 35), RGB(0, 0, 255));
            mem.FillSolidRect(CRect(20, 10, 30, 20), RGB(255, 0, 0));
            EXPECT_EQ(qRgb(255, 255, 255), target.pixel(25, 15));
        }
    }
    EXPECT_EQ(qRgb(255, 0, 0), target.pixel(25, 15));
    EXPECT_EQ(qRgb(0, 0, 255), target.pixel(12, 7));
    EXPECT_EQ(qRgb(255, 255, 255), target.pixel(5, 2)); // outside the clip box

    // A printer page is drawn on directly.
    QImage page(40, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        CPrinterDC printer(&painter, 96, 96, CSize(40, 40));
        CMemDC mem(&printer);
        EXPECT_FALSE(mem.IsMemDC());
        mem.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 255, 0));
        EXPECT_EQ(qRgb(0, 255, 0), page.pixel(5, 5));
    }
}

namespace
{
class CResizeProbe : public CResizableDialog
{
public:
    CResizeProbe() : CResizableDialog(951) {}
    BOOL OnInitDialog() override
    {
        CResizableDialog::OnInitDialog();
        bAdded[0] = AddAnchor(1001, TOP_LEFT, BOTTOM_RIGHT);
        bAdded[1] = AddAnchor(1002, BOTTOM_RIGHT, NOANCHOR);
        bAdded[2] = AddAnchor(1003, MIDDLE_CENTER, MIDDLE_CENTER);
        bAdded[3] = AddAnchor(1004, TOP_RIGHT);
        bAdded[4] = AddAnchor(1001, NOANCHOR);
        bAdded[5] = AddAnchor(1001, 10);
        bAdded[6] = AddAnchor(4242, TOP_LEFT);
        return TRUE;
    }
    BOOL bAdded[7] = {};
};

CRect ChildRect(CWnd& dlg, int id)
{
    CRect rc;
    dlg.GetDlgItem(id)->GetWindowRect(&rc);
    dlg.ScreenToClient(&rc);
    return rc;
}
} // namespace

TEST(ResizableDialog, AnchoredControlsFollowTheEdgesAndTheTemplateSizeIsTheLeast)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    AfxSetResourceHandle(AfxGetModuleByName("SmallWindowsTestRes"));
    CResizeProbe dlg;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            EXPECT_TRUE(dlg.bAdded[0] && dlg.bAdded[1] && dlg.bAdded[2] && dlg.bAdded[3]);
            EXPECT_FALSE(dlg.bAdded[4] || dlg.bAdded[5] || dlg.bAdded[6]);
            EXPECT_TRUE(dlg.GetDlgItem(1004)->GetStyle() & WS_CLIPSIBLINGS);
            CRect client;
            dlg.GetClientRect(&client);
            const CRect edit = ChildRect(dlg, 1001);
            const CRect corner = ChildRect(dlg, 1002);
            const CRect middle = ChildRect(dlg, 1003);
            const CRect group = ChildRect(dlg, 1004);
            CRect outer;
            dlg.GetWindowRect(&outer);
            // The template's size is the least the dialog may take.
            EXPECT_GE(dlg.GetWidget()->minimumWidth(), client.Width());
            dlg.MoveWindow(outer.left, outer.top, outer.Width() + 80, outer.Height() + 40);
            AfxPumpMessages();
            CRect client2;
            dlg.GetClientRect(&client2);
            const int dx = client2.Width() - client.Width();
            const int dy = client2.Height() - client.Height();
            EXPECT_GE(dx, 80);
            EXPECT_EQ(CRect(edit.left, edit.top, edit.right + dx, edit.bottom + dy), ChildRect(dlg, 1001));
            EXPECT_EQ(CRect(corner.left + dx, corner.top + dy, corner.right + dx, corner.bottom + dy),
                      ChildRect(dlg, 1002));
            const CRect middle2 = ChildRect(dlg, 1003);
            EXPECT_EQ(middle.left + (client2.Width() / 2 - client.Width() / 2), middle2.left);
            EXPECT_EQ(middle.top + (client2.Height() / 2 - client.Height() / 2), middle2.top);
            EXPECT_EQ(middle.Size(), middle2.Size());
            EXPECT_EQ(CRect(group.left + dx, group.top, group.right + dx, group.bottom),
                      ChildRect(dlg, 1004));
            return IDOK;
        });
    EXPECT_EQ(IDOK, dlg.DoModal());
    AfxSetResourceHandle(nullptr);
}

TEST(MyFileDialog, ChoosesLikeTheFileDialogWithSeveralFiles)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    CModalHookScope hook(
        [](const AfxModalRequest& r)
        {
            EXPECT_EQ(AfxModalKind::FileDialog, r.kind);
            EXPECT_TRUE(r.dwFlags & OFN_ALLOWMULTISELECT);
            r.paths = {L"/p/Main.xdg", L"/p/Plant.dcp"};
            return IDOK;
        });
    CMyFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT,
                      L"All Format (.xdg;.dcp)|*.xdg;*.dcp|Screen Files(.xdg)|*.xdg||");
    wchar_t buffer[2048] = L"";
    dlg.m_ofn.lpstrFile = buffer;
    dlg.m_ofn.nMaxFile = 2048;
    ASSERT_EQ(IDOK, dlg.DoModal());
    std::vector<CString> chosen;
    for (POSITION pos = dlg.GetStartPosition(); pos;)
        chosen.push_back(dlg.GetNextPathName(pos));
    EXPECT_EQ((std::vector<CString>{L"/p/Main.xdg", L"/p/Plant.dcp"}), chosen);
    EXPECT_EQ(std::wstring(L"/p/Main.xdg"), std::wstring(buffer));
}
