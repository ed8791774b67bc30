#include "ModelTestSupport.h"

#include "model/WorkSpaceObj.h"

#include <gtest/gtest.h>

using namespace model_test;

namespace
{
// Every value type, on variables of the three kinds.
void FillProject(CWorkSpaceObj& ws)
{
    ws.m_strProjectName = L"Plant 1";
    ws.m_strMainScreen = L"Overview.xdg";
    ws.m_strS3 = L"s3";
    ws.m_strS6 = L"s6";
    ws.m_crBack = RGB(1, 2, 3);
    ws.m_crPageBack = RGB(4, 5, 6);
    ws.m_strAuthor = L"Ann";
    ws.m_strDepartment = L"Ops";
    ws.m_strEMail = L"ann@example.org";
    ws.m_strURL = L"http://example.org";
    ws.m_strCompany = L"Works";
    ws.m_strNotice = L"© Ann";
    ws.m_listFiles.AddTail(L"main.xdg");
    ws.m_listFiles.AddTail(L"system.uscp");
    ws.m_nCanvasWidth = 1200;
    ws.m_nCanvasHeight = 900;
    ws.m_bShowRuler = 0;
    ws.m_bShowPageShadow = 1;
    ws.m_bShowCloseBox = 0;
    ws.m_bShowHelpBox = 1;
    ws.m_bWindowFlag = 0;
    ws.m_nWindowWidth = 1024;
    ws.m_nWindowHeight = 768;
    ws.m_bFullScreen = 1;
    ws.m_bAlwaysOnTop = 0;
    const FO_VALUE values[] = {FO_VALUE::MakeBool(TRUE),      FO_VALUE::MakeString(L"text"),
                               FO_VALUE::MakeInt(-7),         FO_VALUE::MakeFloat(2.5f),
                               FO_VALUE::MakeDouble(3.25),    FO_VALUE::MakeDWord(4000000000u),
                               FO_VALUE::MakeDateTime(45000), FO_VALUE::MakeColor(RGB(9, 8, 7))};
    const wchar_t* prefixes[] = {L"@", L"#", L""};
    const int kinds[] = {PARAM_KIND_RUNTIME, PARAM_KIND_GLOBAL, PARAM_KIND_RUNTIME};
    for (int k = 0; k < 3; ++k)
    {
        for (int t = 0; t < 8; ++t)
        {
            CString name;
            name.Format(L"%sVar%d", prefixes[k], t);
            auto* p = new CParamObj(name, values[t], kinds[k]);
            p->m_strDescription = L"desc";
            p->m_strExtra = L"extra";
            p->m_dMinValue = -t;
            p->m_dMaxValue = 10.0 * t;
            ws.AddParam(p);
        }
    }
    // A system variable of the project itself is never stored.
    ws.AddParam(new CParamObj(L"$Shift", FO_VALUE::MakeInt(3), PARAM_KIND_SYSTEM));
}

int CountSystem(CWorkSpaceObj& ws)
{
    int n = 0;
    POSITION pos = ws.GetParamObjects().GetHeadPosition();
    while (pos)
        if (ws.GetParamObjects().GetNext(pos)->m_nKind == PARAM_KIND_SYSTEM)
            ++n;
    return n;
}

// A project file as a given version writes it.
std::vector<BYTE> OldProject(int version)
{
    return StoreBytes(
        [version](CArchive& ar)
        {
            ar << version << CString(L"s6") << CString(L"Old") << CString(L"Main.xdg") << int(1);
            ar << CString() << CString() << CString() << DWORD(0xFFFFFF) << DWORD(0xFFFFFF);
            for (int i = 0; i < 6; ++i)
                ar << CString(L"t");
            ar.WriteCount(0); // file list
            ar << int(640) << int(480) << int(1);
            if (version > 1)
                for (int v : {0, 0, 0, 1, 0, 0, 0, 321, 123})
                    ar << v;
            if (version >= 3)
                ar << int(1);
            if (version >= 4)
                ar << int(0);
            ar.WriteCount(1);
            CParamObj p(L"#g", FO_VALUE::MakeInt(5), PARAM_KIND_GLOBAL);
            ar << static_cast<CObject*>(&p);
        });
}
} // namespace

class WorkSpace : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ModalRecorder modal;
};

TEST_F(WorkSpace, ProjectRoundTripsAndSavesTheSameBytesAgain)
{
    CWorkSpaceObj ws;
    FillProject(ws);
    EXPECT_TRUE(ws.IsModified());
    const CString a = TempPath(dir, "a.dcp");
    const CString b = TempPath(dir, "b.dcp");
    ASSERT_TRUE(ws.SaveDocument(a));
    EXPECT_FALSE(ws.IsModified());

    CWorkSpaceObj back;
    ASSERT_TRUE(back.OpenDocument(a));
    EXPECT_EQ(back.m_strProjectName, CString(L"Plant 1"));
    EXPECT_EQ(back.m_strMainScreen, CString(L"Overview.xdg"));
    EXPECT_EQ(back.m_strNotice, CString(L"© Ann"));
    EXPECT_EQ(back.m_strS7, CString(L"none")); // not stored
    EXPECT_EQ(back.m_listFiles.GetCount(), 2);
    EXPECT_EQ(back.m_nWindowWidth, 1024);
    EXPECT_EQ(back.m_bFullScreen, 1);
    EXPECT_EQ(back.m_bAlwaysOnTop, 0);
    EXPECT_EQ(back.m_bWindowFlag, 0);
    // 24 stored variables in order, then the six system variables; "$Shift" was not stored.
    ASSERT_EQ(back.GetParamObjects().GetCount(), 30);
    EXPECT_EQ(back.FindParamByName(L"$Shift"), nullptr);
    POSITION pos = back.GetParamObjects().GetHeadPosition();
    CParamObj* first = back.GetParamObjects().GetNext(pos);
    EXPECT_EQ(first->m_strName, CString(L"@Var0"));
    EXPECT_EQ(back.GetParamObjects().GetTail()->m_strName, CString(L"$Second"));
    CParamObj* dw = back.FindParamByName(L"#VAR5");
    ASSERT_NE(dw, nullptr);
    EXPECT_TRUE(dw->m_value == FO_VALUE::MakeDWord(4000000000u));
    EXPECT_EQ(dw->m_dMaxValue, 50.0);
    EXPECT_EQ(dw->m_strExtra, CString(L"extra"));
    CParamObj* date = back.FindParamByName(L"var6");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->m_value.m_nValueType, FO_VALUE_DATETIME);

    ASSERT_TRUE(back.SaveDocument(b));
    EXPECT_EQ(ReadAll(a), ReadAll(b));
    EXPECT_TRUE(modal.texts.empty());
}

TEST_F(WorkSpace, OlderVersionsLoadWithTheirGates)
{
    const struct
    {
        int version;
        int width;      // window width: from version 2
        int fullScreen; // from version 3, else 0
        int onTop;      // from version 4, else the default 1
    } cases[] = {{1, 800, 0, 1}, {2, 321, 0, 1}, {3, 321, 1, 1}, {4, 321, 1, 0}};
    for (const auto& c : cases)
    {
        const CString path = TempPath(dir, "old.dcp");
        const auto bytes = OldProject(c.version);
        WriteAll(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())));
        CWorkSpaceObj ws;
        ws.m_bFullScreen = 1; // must not survive the load
        ASSERT_TRUE(ws.OpenDocument(path)) << c.version;
        EXPECT_EQ(ws.m_strProjectName, CString(L"Old"));
        EXPECT_EQ(ws.m_nCanvasWidth, 640);
        EXPECT_EQ(ws.m_nWindowWidth, c.width) << c.version;
        EXPECT_EQ(ws.m_bFullScreen, c.fullScreen) << c.version;
        EXPECT_EQ(ws.m_bAlwaysOnTop, c.onTop) << c.version;
        EXPECT_NE(ws.FindParamByName(L"#G"), nullptr);
        EXPECT_EQ(CountSystem(ws), 6);
    }
}

// A workspace that held another project (or was edited) and then loads an old file: what the
// file's version does not store must come out as in a new workspace, not as it was before.
TEST_F(WorkSpace, WhatAnOldVersionDoesNotStoreTakesTheValuesOfANewWorkspace)
{
    const CWorkSpaceObj fresh;
    auto windowSettings = [](const CWorkSpaceObj& ws)
    {
        return std::vector<int>{ws.m_bShowCloseBox, ws.m_bShowMinBox,   ws.m_bShowMaxBox,   ws.m_bShowHelpBox,
                                ws.m_bWindowFlag,   ws.m_bShowTitleBar, ws.m_bShow3DBorder, ws.m_nWindowWidth,
                                ws.m_nWindowHeight, ws.m_bFullScreen,   ws.m_bAlwaysOnTop};
    };
    const std::vector<int> stored = {0, 0, 0, 1, 0, 0, 0, 321, 123}; // what OldProject writes from version 2
    for (int version = 1; version <= 4; ++version)
    {
        CWorkSpaceObj ws;
        // Every window setting away from its default, as a previous project may have left them.
        ws.m_bShowCloseBox = ws.m_bShowMinBox = ws.m_bShowMaxBox = ws.m_bWindowFlag = 0;
        ws.m_bShowTitleBar = ws.m_bShow3DBorder = 0;
        ws.m_bShowHelpBox = 1;
        ws.m_nWindowWidth = ws.m_nWindowHeight = 55;
        ws.m_bFullScreen = 1;
        ws.m_bAlwaysOnTop = 0;
        LoadBytes(OldProject(version), [&](CArchive& ar) { ws.Serialize(ar); });

        std::vector<int> expected = windowSettings(fresh);
        if (version > 1)
            std::copy(stored.begin(), stored.end(), expected.begin());
        if (version >= 3)
            expected[9] = 1;
        if (version >= 4)
            expected[10] = 0;
        EXPECT_EQ(windowSettings(ws), expected) << "version " << version;
    }
    EXPECT_EQ(fresh.m_bAlwaysOnTop, 1);
    EXPECT_EQ(fresh.m_bFullScreen, 0);
}

TEST_F(WorkSpace, LookupsByKindAndName)
{
    CWorkSpaceObj ws;
    auto* g = new CParamObj(L"#Temp", FO_VALUE::MakeDouble(1), PARAM_KIND_GLOBAL);
    auto* r1 = new CParamObj(L"@Speed", FO_VALUE::MakeInt(1), PARAM_KIND_RUNTIME);
    auto* r2 = new CParamObj(L"Level", FO_VALUE::MakeInt(2), PARAM_KIND_RUNTIME);
    ws.AddParam(g);
    ws.AddParam(r1);
    ws.AddParam(r2);
    EXPECT_EQ(ws.FindParamByName(L"#TEMP"), g);
    EXPECT_EQ(ws.GetParamObj(PARAM_KIND_GLOBAL, L"#temp"), g);
    EXPECT_EQ(ws.GetParamObj(PARAM_KIND_GLOBAL, L"#Temp"), nullptr);
    EXPECT_EQ(ws.GetParamObj(PARAM_KIND_RUNTIME, L"#temp"), nullptr);
    EXPECT_EQ(ws.GetParamObj(7, L"#temp"), nullptr);
    EXPECT_EQ(ws.FindParamByName(L"@speed"), r1);
    EXPECT_EQ(ws.FindParamByName(L"LEVEL"), r2);
    EXPECT_EQ(ws.GetParamObj(PARAM_KIND_RUNTIME, L"level"), r2);
    EXPECT_EQ(ws.FindParamByName(L"nothing"), nullptr);

    auto* dbp = new CScriptFileObj;
    dbp->m_strName = L"System.uscp";
    ws.AddDbp(dbp);
    EXPECT_EQ(ws.FindDbObjByName(L"system.USCP"), dbp);
}

TEST_F(WorkSpace, NameLookupsStayInStepWithEveryChange)
{
    CWorkSpaceObj ws;
    auto* a = new CParamObj(L"#a", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL);
    ws.AddParam(a);
    EXPECT_EQ(ws.FindParamByName(L"#a"), a); // the lookup builds the index
    ws.RemoveParam(a);                       // freed: must not be found (ASan would see a use)
    EXPECT_EQ(ws.FindParamByName(L"#a"), nullptr);
    auto* b = new CParamObj(L"#b", FO_VALUE::MakeInt(2), PARAM_KIND_GLOBAL);
    ws.AddParam(b);
    EXPECT_EQ(ws.FindParamByName(L"#b"), b);
    b->m_strName = L"#renamed";
    EXPECT_EQ(ws.FindParamByName(L"#renamed"), b);
    EXPECT_EQ(ws.FindParamByName(L"#b"), nullptr);
    ws.ClearAllParam();
    EXPECT_EQ(ws.FindParamByName(L"#renamed"), nullptr);
    // A later variable of the same name wins, and the earlier one returns when it goes.
    auto* first = new CParamObj(L"#x", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL);
    auto* second = new CParamObj(L"#X", FO_VALUE::MakeInt(2), PARAM_KIND_GLOBAL);
    ws.AddParam(first);
    ws.AddParam(second);
    EXPECT_EQ(ws.FindParamByName(L"#x"), second);
    ws.RemoveParam(second);
    EXPECT_EQ(ws.FindParamByName(L"#x"), first);
    CParamObj stranger;
    ws.RemoveParam(&stranger); // not in the list: nothing happens
}

TEST_F(WorkSpace, EveryLoadedProjectHasItsSystemVariablesOnce)
{
    CWorkSpaceObj a;
    a.AddParam(new CParamObj(L"#only_a", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL));
    CWorkSpaceObj b;
    b.AddParam(new CParamObj(L"#only_b", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL));
    const CString pa = TempPath(dir, "a.dcp");
    const CString pb = TempPath(dir, "b.dcp");
    ASSERT_TRUE(a.SaveDocument(pa));
    ASSERT_TRUE(b.SaveDocument(pb));

    CWorkSpaceObj ws;
    ASSERT_TRUE(ws.OpenDocument(pa));
    ASSERT_TRUE(ws.OpenDocument(pa)); // opening again does not append
    EXPECT_EQ(ws.GetParamObjects().GetCount(), 7);
    ws.DeleteContents();
    EXPECT_EQ(ws.FindParamByName(L"$year"), nullptr);
    ASSERT_TRUE(ws.OpenDocument(pb));
    EXPECT_EQ(ws.FindParamByName(L"#only_a"), nullptr);
    EXPECT_NE(ws.FindParamByName(L"#only_b"), nullptr);
    EXPECT_EQ(CountSystem(ws), 6);
    CParamObj* year = ws.FindParamByName(L"$Year");
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(year->m_strDescription, CString(L"Year"));
    EXPECT_EQ(year->m_value.m_nValueType, FO_VALUE_INT);
}

TEST_F(WorkSpace, BadFilesGiveFalseAndAnEmptyUsableWorkspace)
{
    CWorkSpaceObj good;
    FillProject(good);
    const CString path = TempPath(dir, "good.dcp");
    ASSERT_TRUE(good.SaveDocument(path));
    const QByteArray bytes = ReadAll(path);

    std::vector<QByteArray> inputs;
    for (int n = 0; n < bytes.size(); n += 7)
        inputs.push_back(bytes.left(n));
    QByteArray newer = bytes;
    newer[0] = 5;
    inputs.push_back(newer);
    // A count far beyond the file.
    inputs.push_back(QByteArray::fromHex("04000000FFFFFFFF"));
    // A script-file record where a variable must be.
    const auto wrongClass = StoreBytes(
        [](CArchive& ar)
        {
            ar << int(1) << CString() << CString() << CString() << int(0) << CString() << CString()
               << CString() << DWORD(0) << DWORD(0);
            for (int i = 0; i < 6; ++i)
                ar << CString();
            ar.WriteCount(0);
            ar << int(1) << int(1) << int(1);
            ar.WriteCount(1);
            CScriptFileObj s;
            ar << static_cast<CObject*>(&s);
        });
    inputs.push_back(QByteArray(reinterpret_cast<const char*>(wrongClass.data()), int(wrongClass.size())));

    const CString bad = TempPath(dir, "bad.dcp");
    for (const QByteArray& input : inputs)
    {
        WriteAll(bad, input);
        CWorkSpaceObj ws;
        ws.AddParam(new CParamObj(L"#before", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL));
        modal.texts.clear();
        EXPECT_FALSE(ws.OpenDocument(bad)) << input.size();
        EXPECT_EQ(modal.texts.size(), 1u);
        EXPECT_EQ(ws.GetParamObjects().GetCount(), 6);
        EXPECT_EQ(ws.m_strProjectName, CString(L"New Project"));
        ASSERT_TRUE(ws.OpenDocument(path));
        EXPECT_EQ(ws.GetParamObjects().GetCount(), 30);
    }
    modal.texts.clear();
    CWorkSpaceObj ws;
    EXPECT_FALSE(ws.OpenDocument(TempPath(dir, "missing.dcp")));
    EXPECT_EQ(modal.texts.size(), 1u);
}

TEST_F(WorkSpace, ScriptFileRecords)
{
    CScriptFileObj s;
    s.m_strName = L"system.uscp";
    s.m_nType = 1002;
    s.m_rect = {-1, 2, 300, 400};
    s.m_strExtra = L"x";
    const auto bytes = StoreBytes([&](CArchive& ar) { s.Serialize(ar); });
    CScriptFileObj back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_strName, s.m_strName);
    EXPECT_EQ(back.m_nType, 1002);
    EXPECT_EQ(back.m_rect.left, -1);
    EXPECT_EQ(back.m_rect.bottom, 400);
    EXPECT_EQ(back.m_strExtra, CString(L"x"));
    CScriptFileObj fresh;
    EXPECT_EQ(fresh.m_nType, 1001);
    EXPECT_EQ(fresh.m_rect.right, 500);
    // A rectangle cut short is the end of the file.
    const auto part = StoreBytes([](CArchive& ar) { ar << CString(L"n") << int(1001) << int(1) << int(2); });
    EXPECT_EQ(ArchiveCause(
                  [&]
                  {
                      LoadBytes(part,
                                [](CArchive& ar)
                                {
                                    CScriptFileObj o;
                                    o.Serialize(ar);
                                });
                  }),
              CArchiveException::endOfFile);
    const auto partial = StoreBytes([&](CArchive& ar) { s.SerializePart(ar); });
    CScriptFileObj p2;
    LoadBytes(partial, [&](CArchive& ar) { p2.SerializePart(ar); });
    EXPECT_EQ(p2.m_rect.right, 300);
}
