#include "ModelTestSupport.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOHighShape.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPChordShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPWaterHighShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOValueProperties.h"
#include "model/OwnServer.h"
#include "model/ParamObj.h"
#include "model/XFODemoShape.h"
#include "model/XVKDataModel.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>

using namespace model_test;

// A shape of a type whose own class is still to come (603 has none yet): the stand-in's record,
// then a member of its own.
class CTestFutureShape : public CFORectShape
{
    DECLARE_SERIAL(CTestFutureShape)
public:
    CTestFutureShape() { SetType(603); }
    void Serialize(CArchive& ar) override
    {
        CFORectShape::Serialize(ar);
        FOSerializeVersion(ar, 1);
        if (ar.IsStoring())
            ar << m_nPens;
        else
            ar >> m_nPens;
    }
    int m_nPens = 3;
};
IMPLEMENT_SERIAL(CTestFutureShape, CFORectShape, 0)

namespace
{
// A program's model once that class exists.
class CChartModel : public CXVKDataModel
{
public:
    CFODrawShape* DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                      CFOToolBoxItem* pItem = nullptr) override
    {
        if (nType != 603)
            return CXVKDataModel::DoCreateShapeByType(nType, rcCreate, strName, pItem);
        auto* shape = new CTestFutureShape;
        shape->AddRef();
        shape->Create(rcCreate);
        shape->SetObjectName(GetUniqueName(nType));
        return shape;
    }
};

// A view that records what it is told to redraw.
class CRecordingView : public CFOPDrawWnd
{
public:
    std::vector<CRect> invalidated;
    void InvalidateCanvasRect(const CRect& rc) override { invalidated.push_back(rc); }
};

struct FactoryCase
{
    UINT type;
    const char* cls;
    int cx;
    int cy;
};

// Every type the factory builds, with the class that stands for it now and its default size.
const FactoryCase kFactoryCases[] = {
    {256, "CFOTimeChartShape", 500, 320},
    {601, "CFORectShape", 70, 40},
    {602, "CFOEllipseShape2", 70, 40},
    {605, "CExtEllipseShape", 160, 160},
    {607, "CExtMeterShape", 160, 160},
    {615, "CMyPushChartShape", 500, 320},
    {616, "CFOPGaugeTankShape", 80, 160},
    {617, "CFOPGaugeKnobShape", 240, 240},
    {618, "CFOPGaugeMultiPhaseEllipseShape", 240, 240},
    {619, "CFOPGaugeMultiPhaseBarShape", 70, 280},
    {620, "CAnchorShape", 120, 160},
    {621, "CMyPieProgressShape", 160, 160},
    {622, "CAnimatedLinkShape", 160, 160},
    {623, "CFOCpuUsageShape", 500, 320},
    {624, "CMyHorzSliderShape", 160, 40},
    {625, "CMyVertSliderShape", 40, 160},
    {626, "CMyDeferentShape", 240, 60},
    {696, "CXFOCorsssLineShape", 0, 0},
    {697, "CMyNewPipeShape", 0, 0},
    {699, "CFOHighEllipseShape", 160, 160},
};

CFODrawShape* Insert(CXVKDataModel& model, CFODrawShape* shape)
{
    model.InsertShape(shape);
    shape->Release();
    return shape;
}

CFODrawShape* Stored(CXVKDataModel& model, CFODrawShape* shape, UINT type, const CString& key2,
                     const CString& key3)
{
    CRect rc(10, 10, 60, 40);
    shape->Create(rc);
    shape->SetType(type);
    shape->SetKeyId2(key2);
    shape->SetKeyId3(key3);
    shape->AddRef();
    return Insert(model, shape);
}
} // namespace

class XVKModel : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
    QTemporaryDir dir;
    ModalRecorder modal;
};

TEST_F(XVKModel, FactoryBuildsEveryTypeWithItsDefaultSize)
{
    CXVKDataModel model;
    for (const FactoryCase& c : kFactoryCases)
    {
        CRect rc(200, 300, 200, 300);
        CFODrawShape* shape = model.DoCreateShapeByType(c.type, rc, L"ignored");
        ASSERT_NE(shape, nullptr) << c.type;
        EXPECT_STREQ(shape->GetRuntimeClass()->m_lpszClassName, c.cls) << c.type;
        EXPECT_EQ(shape->GetType(), c.type);
        EXPECT_EQ(shape->GetRefCount(), 1);
        EXPECT_FALSE(shape->GetObjectName().IsEmpty());
        if (c.cx)
        {
            EXPECT_EQ(shape->GetDrawRect(),
                      CRect(200 - c.cx / 2, 300 - c.cy / 2, 200 - c.cx / 2 + c.cx, 300 - c.cy / 2 + c.cy))
                << c.type;
        }
        EXPECT_EQ(CXVKDataModel::GetDefaultSize(c.type), CSize(c.cx, c.cy));
        shape->Release();
    }
    CRect rc(0, 0, 10, 10);
    for (UINT type : {0u, 603u, 604u, 606u, 608u, 627u, 631u, 632u, 700u})
        EXPECT_EQ(model.DoCreateShapeByType(type, rc, CString()), nullptr) << type;
}

TEST_F(XVKModel, DefaultSizeOnlyForEmptyOrTinyRectangles)
{
    CXVKDataModel model;
    const struct
    {
        CRect given;
        CRect expected;
    } cases[] = {
        {CRect(100, 100, 105, 105), CRect(-150, -60, 350, 260)}, // 5 x 5
        {CRect(100, 100, 120, 105), CRect(100, 100, 120, 105)},  // 20 x 5 stays
        {CRect(0, 50, 400, 50), CRect(-250, -110, 250, 210)},    // no height: empty
        {CRect(100, 100, 110, 130), CRect(100, 100, 110, 130)},  // 10 x 30 stays
        {CRect(60, 60, 10, 10), CRect(10, 10, 60, 60)},          // normalised
    };
    for (const auto& c : cases)
    {
        CRect rc = c.given;
        CFODrawShape* shape = model.DoCreateShapeByType(615, rc, CString());
        EXPECT_EQ(shape->GetDrawRect(), c.expected);
        shape->Release();
    }
    // Rectangles and ellipses from the toolbox: no ports, outline only.
    CRect rc(0, 0, 0, 0);
    CFODrawShape* rect = model.DoCreateShapeByType(601, rc, CString());
    EXPECT_EQ(rect->GetPortCount(), 0);
    BOOL flag = FALSE;
    EXPECT_TRUE(rect->GetPropBoolValue(flag, FO_PROP_TOOLBOX_DEFAULTS));
    EXPECT_TRUE(flag);
    EXPECT_EQ(rect->GetBrushType(), 0);
    EXPECT_EQ(rect->GetPenStyle(), 1);
    EXPECT_EQ(rect->GetLineWidth(), 1);
    rect->Release();
}

TEST_F(XVKModel, SevenUserPropertiesComeBackWithEveryLoad)
{
    CXVKDataModel model;
    ASSERT_EQ(model.GetUserProperties().GetCount(), 7);
    const int order[] = {15001, 15002, 15003, 15005, 15006, 15007, 15004};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(model.GetUserProperties().GetAt(i)->GetPropId(), order[i]);
    int period = 0;
    EXPECT_TRUE(model.GetPropIntValue(period, XVK_PROP_TIMER_PERIOD));
    EXPECT_EQ(period, 1000);
    CString proc = L"unchanged";
    EXPECT_TRUE(model.GetPropStringValue(proc, XVK_PROP_TIMER_PROC));
    EXPECT_EQ(proc, CString());
    auto* named = dynamic_cast<CFOValueProperties*>(model.FindProperty(15001));
    ASSERT_NE(named, nullptr);
    EXPECT_TRUE(named->GetName().IsEmpty());

    model.PutPropStringValue(XVK_PROP_START_PROC, L"OnOpen");
    model.GetUserProperties().Remove(XVK_PROP_TIMER_PERIOD);
    model.GetUserProperties().Remove(15001);
    const CString path = TempPath(dir, "props.xdg");
    ASSERT_TRUE(model.SaveDocument(path));
    CXVKDataModel back;
    ASSERT_TRUE(back.OpenDocument(path));
    EXPECT_EQ(back.GetUserProperties().GetCount(), 7);
    EXPECT_TRUE(back.GetPropStringValue(proc, XVK_PROP_START_PROC));
    EXPECT_EQ(proc, CString(L"OnOpen"));
    EXPECT_TRUE(back.GetPropIntValue(period, XVK_PROP_TIMER_PERIOD));
    EXPECT_EQ(period, 1000);

    // A failed load leaves a usable model with its seven properties.
    WriteAll(path, "garbage");
    EXPECT_FALSE(back.OpenDocument(path));
    EXPECT_EQ(back.GetShapeCount(), 0);
    EXPECT_EQ(back.GetUserProperties().GetCount(), 7);
}

TEST_F(XVKModel, EveryFactoryShapeRoundTripsAndTheScreenNeverGrows)
{
    CXVKDataModel model;
    int x = 0;
    for (const FactoryCase& c : kFactoryCases)
    {
        CRect rc(x, 0, x + 50, 60);
        x += 60;
        Insert(model, model.DoCreateShapeByType(c.type, rc, CString()));
    }
    const int n = model.GetShapeCount();
    const CString a = TempPath(dir, "a.xdg"), b = TempPath(dir, "b.xdg"), c = TempPath(dir, "c.xdg");
    ASSERT_TRUE(model.SaveDocument(a));

    CXVKDataModel first;
    ASSERT_TRUE(first.OpenDocument(a));
    ASSERT_EQ(first.GetShapeCount(), n + 1);
    for (int i = 0; i < n; ++i)
    {
        CFODrawShape* orig = model.GetShapes()->GetObject(i);
        CFODrawShape* back = first.GetShapes()->GetObject(i);
        EXPECT_EQ(back->GetType(), orig->GetType());
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, orig->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(back->GetDrawRect(), orig->GetDrawRect()) << orig->GetType();
        EXPECT_EQ(back->GetObjectName(), orig->GetObjectName());
    }
    CFODrawShape* demo = first.GetShapes()->GetTail();
    EXPECT_EQ(demo->GetType(), UINT(XFO_DEMO_SHAPE_TYPE));
    EXPECT_TRUE(demo->IsKindOf(RUNTIME_CLASS(CXFODemoShape)));
    EXPECT_EQ(demo->GetModel(), &first);

    // Load, save, load: still one demo shape, and the files stay the same.
    ASSERT_TRUE(first.SaveDocument(b));
    CXVKDataModel second;
    ASSERT_TRUE(second.OpenDocument(b));
    EXPECT_EQ(second.GetShapeCount(), n + 1);
    ASSERT_TRUE(second.SaveDocument(c));
    EXPECT_EQ(ReadAll(b), ReadAll(c));
    EXPECT_EQ(ReadAll(a), ReadAll(b));
}

TEST_F(XVKModel, StaticShapesBoundToVariablesOrForeignItemsTurnLive)
{
    CXVKDataModel model;
    auto* rect = static_cast<CFORectShape*>(Stored(model, new CFORectShape, 30, L"", L"#Level"));
    rect->SetObjectName(L"Tank");
    rect->SetBkColor(RGB(1, 2, 3));
    Stored(model, new CFORectShape, 30, L"", L"$Hour");
    Stored(model, new CFODrawPortsShape, 2, L"Other.Server.1", L"Tag.A");
    Stored(model, new CFOEllipseShape2, 23, L"", L"#g");
    Stored(model, new CFOPolygonShape, 27, L"", L"#w");
    Stored(model, new CFORectShape, 30, L"this", L"Tag.B");
    Stored(model, new CFORectShape, 30, L"Quendrel.OpcDaServer.7", L"Tag.C");
    Stored(model, new CFORectShape, 30, L"Other.Server", L"");
    Stored(model, new CFORectShape, 601, L"", L"#Level");
    const CString path = TempPath(dir, "swap.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CXVKDataModel back;
    ASSERT_TRUE(back.OpenDocument(path));
    ASSERT_EQ(back.GetShapeCount(), 10);
    const struct
    {
        const char* cls;
        UINT type;
    } expected[] = {{"CFOHighShape", 281},        {"CFOHighShape", 281},       {"CFOPSimpleLabelShape", 257},
                    {"CFOHighEllipseShape", 699}, {"CFOPWaterHighShape", 284}, {"CFORectShape", 30},
                    {"CFORectShape", 30},         {"CFORectShape", 30},        {"CFORectShape", 601},
                    {"CXFODemoShape", 698}};
    for (int i = 0; i < 10; ++i)
    {
        CFODrawShape* s = back.GetShapes()->GetObject(i);
        EXPECT_STREQ(s->GetRuntimeClass()->m_lpszClassName, expected[i].cls) << i;
        EXPECT_EQ(s->GetType(), expected[i].type) << i;
    }
    CFODrawShape* tank = back.GetShapes()->GetObject(0);
    EXPECT_EQ(tank->GetObjectName(), CString(L"Tank"));
    EXPECT_EQ(tank->GetBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(tank->GetDrawRect(), CRect(10, 10, 60, 40));
    EXPECT_EQ(tank->GetStateString(), CString(L"bottom->top@top->bottom@right->left@left->right"));
    EXPECT_EQ(tank->GetStateType(), CString(L"bottom->top"));
    EXPECT_EQ(back.GetShapes()->GetObject(3)->GetStateType(), CString(L"bottom->top"));
    EXPECT_TRUE(back.GetShapes()->GetObject(4)->GetStateString().IsEmpty());
    // The swapped shapes are the model's.
    EXPECT_EQ(back.FindCompWithName(L"Tank"), tank);
    EXPECT_NE(back.FindShapesWithKey3(L"#level"), nullptr);
}

TEST_F(XVKModel, OwnServerNames)
{
    const struct
    {
        const wchar_t* name;
        BOOL own;
    } cases[] = {{L"this", TRUE},
                 {L"This", FALSE},
                 {L" this", FALSE},
                 {L"Quendrel.OpcDaServer.1", TRUE},
                 {L"Quendrel.OpcDaServer.", TRUE},
                 {L"Quendrel.OpcDaServer", FALSE},
                 {L"quendrel.opcdaserver.1", FALSE},
                 {L"Other.Server", FALSE},
                 {L"", FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(IsOwnServerName(c.name), c.own) << CString(c.name).ToUtf8();
}

TEST_F(XVKModel, ValuePushSetsBoundShapesAndListsTheChangedOnes)
{
    CXVKDataModel model;
    CRect rc(0, 0, 30, 30);
    CFODrawShape* a = Insert(model, model.DoCreateShapeByType(601, rc, CString()));
    a->SetKeyId3(L"#level");
    CFODrawShape* b = Insert(model, model.DoCreateShapeByType(620, rc, CString()));
    b->SetKeyId3(L" #LEVEL"); // does not begin with the prefix
    CFODrawShape* c = Insert(model, model.DoCreateShapeByType(605, rc, CString()));
    c->SetKeyId3(L"#Level ");
    CFODrawShape* instrument = Insert(model, model.DoCreateShapeByType(601, rc, CString()));
    instrument->SetType(640);
    instrument->SetKeyId3(L"#level");
    CFODrawShape* other = Insert(model, model.DoCreateShapeByType(601, rc, CString()));
    other->SetKeyId3(L"@level");

    FO_VALUE v = FO_VALUE::MakeDouble(42.0);
    CFOTypedShapeObList changed;
    model.UpdateParamData(L"  #Level ", v, &changed, PARAM_KIND_GLOBAL);
    EXPECT_EQ(changed.Count(), 2);
    EXPECT_EQ(changed.GetObject(0), a);
    EXPECT_EQ(changed.GetObject(1), c);
    EXPECT_EQ(a->GetCurrentValue(), 42.0);
    EXPECT_EQ(instrument->GetCurrentValue(), 42.0); // set, not listed
    EXPECT_EQ(b->GetCurrentValue(), FO_NO_VALUE);
    EXPECT_EQ(other->GetCurrentValue(), FO_NO_VALUE);
    BOOL on = FALSE;
    EXPECT_TRUE(c->GetPropBoolValue(on, FO_PROP_VALUE_ON)); // 605 marks its value
    EXPECT_TRUE(on);
    EXPECT_FALSE(a->GetPropBoolValue(on, FO_PROP_VALUE_ON));

    // The same name as a runtime variable reaches none of them; neither does an unknown kind.
    CFOTypedShapeObList none;
    model.UpdateParamData(L"#level", v, &none, PARAM_KIND_RUNTIME);
    model.UpdateParamData(L"#level", v, &none, 55);
    EXPECT_EQ(none.Count(), 0);

    // The same value again changes nothing; EventParamData skips its shape.
    model.UpdateParamData(L"#level", v, &none, PARAM_KIND_GLOBAL);
    EXPECT_EQ(none.Count(), 0);
    FO_VALUE v2 = FO_VALUE::MakeInt(7);
    model.EventParamData(a, L"#level", v2, &none, PARAM_KIND_GLOBAL);
    ASSERT_EQ(none.Count(), 1);
    EXPECT_EQ(none.GetObject(0), c);
    EXPECT_EQ(a->GetCurrentValue(), 42.0);
}

TEST_F(XVKModel, SettingOneShapeFromEachKindOfValue)
{
    CFORectShape s;
    s.SetCurrentValue(1.0);
    EXPECT_FALSE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeBool(TRUE)));
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeBool(FALSE)));
    EXPECT_EQ(s.GetCurrentValue(), 0.0);
    FO_VALUE odd = FO_VALUE::MakeBool(TRUE);
    odd.m_bValue = 2; // only 1 counts as true
    EXPECT_FALSE(CXVKDataModel::SetShapeValue(&s, odd));
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeFloat(0.1f)));
    EXPECT_EQ(s.GetCurrentValue(), double(0.1f));
    EXPECT_FALSE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeFloat(0.1f)));
    // Text on a numeric shape changes only its text.
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeString(L"Run")));
    EXPECT_EQ(s.GetCurrentTextValue(), CString(L"Run"));
    EXPECT_EQ(s.GetCurrentValue(), double(0.1f));
    EXPECT_FALSE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeString(L"Run")));
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeString(L"run")));
    EXPECT_FALSE(CXVKDataModel::SetShapeValue(&s, FO_VALUE::MakeColor(5)));

    CFOPSimpleLabelShape label;
    label.SetType(257);
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&label, FO_VALUE::MakeString(L"Shown")));
    EXPECT_EQ(label.GetLabelText(), CString(L"Shown"));

    // Switch types pick their "True" or "False" state.
    CFORectShape sw;
    sw.SetType(34);
    sw.SetStateString(L"True@False");
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&sw, FO_VALUE::MakeInt(5)));
    EXPECT_EQ(sw.GetStateType(), CString(L"True"));
    BOOL on = FALSE;
    EXPECT_TRUE(sw.GetPropBoolValue(on, FO_PROP_SWITCH_STATE));
    EXPECT_TRUE(on);
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&sw, FO_VALUE::MakeInt(0)));
    EXPECT_EQ(sw.GetStateType(), CString(L"False"));
    CFORectShape one;
    one.SetType(89);
    one.SetStateString(L"Only");
    one.SetStateType(L"Only");
    EXPECT_TRUE(CXVKDataModel::SetShapeValue(&one, FO_VALUE::MakeInt(1)));
    EXPECT_EQ(one.GetStateType(), CString(L"Only"));
}

TEST_F(XVKModel, AShapeSavedUnderItsStandInComesBackAsItsRealClass)
{
    CXVKDataModel model;
    CRect rc(100, 100, 105, 105);
    auto* standIn = new CFORectShape;
    standIn->AddRef();
    standIn->Create(rc);
    standIn->SetType(603);
    CFODrawShape* chart = Insert(model, standIn);
    chart->SetKeyId3(L"#flow");
    chart->SetCurrentValue(12.5);
    chart->SetLineColor(RGB(1, 2, 3));
    chart->SetObjectCaption(L"Flow");
    chart->SetObjectName(L"Pump");
    CRect rc2(0, 0, 30, 30);
    Insert(model, model.DoCreateShapeByType(601, rc2, CString()));
    const CString path = TempPath(dir, "standin.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CChartModel later;
    ASSERT_TRUE(later.OpenDocument(path));
    CFODrawShape* back = later.GetShapes()->GetObject(0);
    ASSERT_TRUE(back->IsKindOf(RUNTIME_CLASS(CTestFutureShape)));
    EXPECT_EQ(back->GetType(), 603u);
    EXPECT_EQ(back->GetKeyId3(), L"#flow");
    EXPECT_EQ(back->GetCurrentValue(), 12.5);
    EXPECT_EQ(back->GetLineColor(), RGB(1, 2, 3));
    EXPECT_EQ(back->GetObjectCaption(), L"Flow");
    EXPECT_EQ(back->GetObjectName(), L"Pump");
    EXPECT_EQ(back->GetDrawRect(), chart->GetDrawRect());
    EXPECT_EQ(back->GetModel(), &later);
    EXPECT_EQ(static_cast<CTestFutureShape*>(back)->m_nPens, 3); // its own default
    // A shape of its own class stays as it is, and asking the factory took no names.
    EXPECT_STREQ(later.GetShapes()->GetObject(1)->GetRuntimeClass()->m_lpszClassName, "CFORectShape");
    CXVKDataModel plain;
    ASSERT_TRUE(plain.OpenDocument(path));
    EXPECT_STREQ(plain.GetShapes()->GetObject(0)->GetRuntimeClass()->m_lpszClassName, "CFORectShape");
    EXPECT_EQ(later.GetUniqueName(603), L"Shape603_1");

    // Saved again, it is stored under its class, with its own data.
    static_cast<CTestFutureShape*>(back)->m_nPens = 5;
    const CString again = TempPath(dir, "real.xdg");
    ASSERT_TRUE(later.SaveDocument(again));
    CChartModel reread;
    ASSERT_TRUE(reread.OpenDocument(again));
    auto* real = dynamic_cast<CTestFutureShape*>(reread.GetShapes()->GetObject(0));
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->m_nPens, 5);
}

TEST_F(XVKModel, AValuePushRedrawsTheBoundShapeInEveryView)
{
    CXVKDataModel model;
    CRecordingView first, second;
    first.SetCurrentModel(&model);
    second.SetCurrentModel(&model);
    CRect rc(10, 10, 40, 40);
    CFODrawShape* bound = Insert(model, model.DoCreateShapeByType(601, rc, CString()));
    bound->SetKeyId3(L"#level");
    CRect rc2(100, 10, 140, 40);
    Insert(model, model.DoCreateShapeByType(601, rc2, CString()))->SetKeyId3(L"#other");
    first.invalidated.clear();
    second.invalidated.clear();

    FO_VALUE v = FO_VALUE::MakeDouble(42.0);
    model.UpdateParamData(L"#level", v, nullptr, PARAM_KIND_GLOBAL);
    for (CRecordingView* view : {&first, &second})
    {
        ASSERT_EQ(view->invalidated.size(), 1u);
        EXPECT_EQ(view->invalidated[0], model.GetShapeDirtyRect(bound));
    }
}
