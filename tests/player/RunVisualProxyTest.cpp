// The player's visual proxy, as the library finds it once the player has started.
#include "PlayerTestSupport.h"

#include "figkit/FOPVisualProxy.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"
#include "player/RunVisualProxy.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdint>
#include <vector>

using namespace player_test;

TEST(RunVisualProxy, PlayerRegistersItsOwnProxyAtStart)
{
    CFOPVisualProxy::SetInstance(nullptr);
    InstallRoot root;
    root.AddUserProject("plant1", [](CWorkSpaceObj&) {});
    MessageLog messages;
    PlayerApp player(root, {"Plant1"});
    ASSERT_TRUE(player.Start());
    CFOPVisualProxy* proxy = CFOPVisualProxy::GetInstance();
    ASSERT_NE(dynamic_cast<CRunVisualProxy*>(proxy), nullptr);

    // Both extra handles have their tooltips; other handles keep the text the base leaves.
    const struct
    {
        UINT type;
        const wchar_t* text;
    } tips[] = {{31056, L"Key Setting..."}, {31057, L"Event Setting..."}, {31016, L"before"}, {0, L"before"}};
    for (const auto& tip : tips)
    {
        CString text = L"before";
        proxy->DoGenAddiToolTips(text, tip.type);
        EXPECT_EQ(text, CString(tip.text)) << tip.type;
    }

    EXPECT_EQ(proxy->GetPixelSizeText(0), CString(L"0 Pixel"));
    EXPECT_EQ(proxy->GetPixelSizeText(4294967295u), CString(L"4294967295 Pixel"));

    // One default is appended after what the list held: the shape's empty script procedure.
    std::vector<FO_PROP_DEFAULT> values{{1, FO_VALUE::MakeString(CString(L"kept"))}};
    proxy->DoAddDefaultPropValues(values);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].nPropId, 1);
    EXPECT_EQ(values[1].nPropId, 15008);
    EXPECT_EQ(values[1].value, FO_VALUE::MakeString(CString()));

    // Named bitmaps are not the player's: any name leaves the bitmap empty and answers TRUE.
    CBitmap bitmap;
    EXPECT_TRUE(proxy->LoadNamedBitmap(L"1.xxx", bitmap));
    EXPECT_EQ(bitmap.GetImage(), nullptr);

    // Filling is the base's: the bitmap tiled over the rectangle, nothing without a bitmap.
    const std::vector<uint32_t> pixels(4, 0xFFFF0000u); // opaque red, as ARGB
    CBitmap tile;
    ASSERT_TRUE(tile.CreateBitmap(2, 2, 1, 32, pixels.data()));
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(image);
        EXPECT_TRUE(proxy->FillWithBitmap(&dc, CRect(2, 2, 7, 7), &tile));
        EXPECT_FALSE(proxy->FillWithBitmap(&dc, CRect(0, 0, 10, 10), nullptr));
    }
    EXPECT_EQ(QColor(image.pixel(6, 6)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(7, 7)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::white));
    CFOPVisualProxy::SetInstance(nullptr);
}
