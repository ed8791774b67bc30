#include "ModelTestSupport.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FORectShape.h"
#include "mfc/Dc.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKDataModel.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>

using namespace model_test;

namespace
{
// Flips, drops, inserts or overwrites a few bytes.
QByteArray Damage(const QByteArray& good, std::mt19937& rng)
{
    QByteArray bytes = good;
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e)
    {
        const int at = int(rng() % uint32_t(bytes.size()));
        switch (rng() % 4)
        {
        case 0:
            bytes[at] = char(bytes[at] ^ char(1 << (rng() % 8)));
            break;
        case 1:
            bytes.remove(at, 1 + int(rng() % 8));
            break;
        case 2:
            bytes.insert(at, char(rng() % 256));
            break;
        default:
            bytes[at] = char(0xFF);
            break;
        }
    }
    return bytes;
}
} // namespace

TEST(DamagedFiles, ProjectFilesNeverCrashTheReader)
{
    QTemporaryDir dir;
    ModalRecorder modal;
    CWorkSpaceObj ws;
    ws.m_listFiles.AddTail(L"main.xdg");
    const FO_VALUE values[] = {FO_VALUE::MakeBool(TRUE),  FO_VALUE::MakeString(L"t"), FO_VALUE::MakeInt(3),
                               FO_VALUE::MakeDouble(2.5), FO_VALUE::MakeDateTime(4),  FO_VALUE::MakeColor(5)};
    for (const FO_VALUE& v : values)
        ws.AddParam(new CParamObj(L"#v", v, PARAM_KIND_GLOBAL));
    const CString good = TempPath(dir, "good.dcp");
    ASSERT_TRUE(ws.SaveDocument(good));
    const QByteArray bytes = ReadAll(good);
    std::mt19937 rng(12345);
    const CString path = TempPath(dir, "damaged.dcp");
    for (int i = 0; i < 400; ++i)
    {
        WriteAll(path, Damage(bytes, rng));
        CWorkSpaceObj target;
        if (!target.OpenDocument(path))
        {
            ASSERT_EQ(target.GetParamObjects().GetCount(), 6) << i;
        }
        ASSERT_NE(target.FindParamByName(L"$Year"), nullptr);
    }
}

TEST(DamagedFiles, ScreenFilesNeverCrashTheReaderOrTheDrawing)
{
    AfxEnsureApplication();
    QTemporaryDir dir;
    CXVKDataModel model;
    int x = 0;
    for (UINT type : {601u, 602u, 620u, 696u, 256u, 699u, 697u, 622u})
    {
        CRect rc(x, 0, x + 40, 50);
        x += 45;
        CFODrawShape* s = model.DoCreateShapeByType(type, rc, CString());
        s->SetKeyId3(L"#a");
        model.InsertShape(s);
        s->Release();
    }
    auto* comp = new CFOCompositeShape;
    CRect rc(0, 100, 80, 140);
    comp->Create(rc);
    comp->AddText(L"t", L"text", CRect(0, 0, 40, 20));
    model.InsertShape(comp);
    const CString good = TempPath(dir, "good.xdg");
    ASSERT_TRUE(model.SaveDocument(good));
    const QByteArray bytes = ReadAll(good);
    std::mt19937 rng(777);
    const CString path = TempPath(dir, "damaged.xdg");
    QImage image(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 400; ++i)
    {
        WriteAll(path, Damage(bytes, rng));
        CXVKDataModel target;
        if (!target.OpenDocument(path))
        {
            ASSERT_EQ(target.GetShapeCount(), 0) << i;
            ASSERT_EQ(target.GetUserProperties().GetCount(), 7) << i;
            continue;
        }
        CImageDC dc(image);
        target.OnDraw(&dc, CRect(0, 0, 64, 64));
        FO_VALUE v = FO_VALUE::MakeDouble(1);
        target.UpdateParamData(L"#a", v, nullptr, PARAM_KIND_GLOBAL);
    }
}
