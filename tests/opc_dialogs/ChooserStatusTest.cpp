// The server chooser and the status dialog, shown for real against the stand-in servers.
#include "OpcDialogTestSupport.h"

#include "opc/ConnectDlg.h"
#include "opc/EventConnectDlg.h"
#include "opc/ServerStatusDlg.h"

#include "com/ComObject.h"
#include "com/Enumerators.h"
#include "mfc/FileTimeText.h"

#include <QTest>

using namespace opcdlgtest;

namespace
{
const int IDC_SERVER = 12547;
const int IDC_COMPUTER = 12548;
const int IDC_LIST = 12546;
const int IDC_FIND = 12503;
const wchar_t kDaLine[] = L"Quendrel.OpcDaServer.1  (Quendrel OPC DA Server)";
const wchar_t kDa10Line[] = L"Quendrel.OpcTestDa10.1  (Quendrel OPC DA 1.0 Test Server)";

bool Has(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ChooserTest : public OpcDialogTest
{
};

class StatusTest : public OpcDialogTest
{
};
} // namespace

TEST_F(ChooserTest, ListsTheDa20ServersOfTheComputerAsked)
{
    struct Case
    {
        const char* name;
        BOOL listDa10;
        const wchar_t* computer; // null: as opened
        bool findsDa;
        bool findsDa10;
    };
    const Case cases[] = {
        {"opened", FALSE, nullptr, true, false},
        {"opened with the DA 1.0 server listed as 2.0", TRUE, nullptr, true, true},
        {"Local", FALSE, L"Local", true, false},
        {"empty computer", FALSE, L"", true, false},
        {"unreachable computer", FALSE, L"nohost.invalid", false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OpcStandIn::ListDa10AsDa20(c.listDa10);
        std::vector<std::wstring> lines;
        CString selected;
        m_work = [&](CDialog* dlg)
        {
            if (c.computer)
            {
                Type(dlg, IDC_COMPUTER, QString::fromWCharArray(c.computer));
                Click(dlg, IDC_FIND);
            }
            lines = Lines(dlg, IDC_LIST);
            QListWidget* list = Widget<QListWidget>(dlg, IDC_LIST);
            if (list && list->currentItem() && list->currentItem()->isSelected())
                selected = CString(list->currentItem()->text().toStdWString());
            return IDCANCEL;
        };
        COPCConnectDlgData data;
        EXPECT_EQ(COPCDialogs::DoConnectDialog(data), IDCANCEL);
        EXPECT_EQ(Has(lines, kDaLine), c.findsDa);
        EXPECT_EQ(Has(lines, kDa10Line), c.findsDa10);
        if (c.findsDa)
        {
            EXPECT_EQ(selected, CString(lines.front()));
        }
        else
        {
            EXPECT_TRUE(lines.empty());
        }
        // Only DA servers: the event server is never listed.
        for (const std::wstring& line : lines)
            EXPECT_EQ(line.find(L"Event"), std::wstring::npos);
    }
}

TEST_F(ChooserTest, OkWithoutAServerWarnsAndStaysOpen)
{
    bool openAfterOk = false;
    m_work = [&](CDialog* dlg)
    {
        Shoot(dlg, "chooser");
        Type(dlg, IDC_SERVER, "");
        Click(dlg, IDOK);
        openAfterOk = StillOpen(dlg);
        return IDCANCEL;
    };
    COPCConnectDlgData data;
    EXPECT_EQ(COPCDialogs::DoConnectDialog(data), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"You must select an OPC server !");
}

TEST_F(ChooserTest, DoubleClickHandsTheLineComputerAndClassIdToChooseServer)
{
    m_work = [&](CDialog* dlg)
    {
        Type(dlg, IDC_COMPUTER, "Local");
        QListWidget* list = Widget<QListWidget>(dlg, IDC_LIST);
        const auto found = list->findItems(QString::fromWCharArray(kDaLine), Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (found.isEmpty())
            return IDCANCEL;
        const QRect rect = list->visualItemRect(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        return IDCANCEL;
    };
    CInfoServer server(0, 0, 0);
    EXPECT_TRUE(server.ChooseServer());
    EXPECT_EQ(server.GetOPCServer(), CString(kDaLine));
    EXPECT_EQ(server.GetOPCServerComputer(), CString(L"Local"));
    EXPECT_TRUE(server.GetOPCServerCLSID() == CLSID_QuendrelOpcDaServer);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ChooserTest, ATypedServerWithNoLinePickedComesBackWithClassIdZero)
{
    m_work = [&](CDialog* dlg)
    {
        Type(dlg, IDC_SERVER, "Quendrel.OpcDaServer.1");
        Click(dlg, IDOK);
        return IDCANCEL;
    };
    COPCConnectDlgData data;
    EXPECT_EQ(COPCDialogs::DoConnectDialog(data), IDOK);
    EXPECT_EQ(data.strServer, CString(L"Quendrel.OpcDaServer.1"));
    EXPECT_TRUE(data.strComputer.IsEmpty());
    EXPECT_TRUE(data.clsid == GUID_NULL);
}

TEST_F(ChooserTest, FindFreesTheClassIdsOfTheLinesItEmpties)
{
    CConnectDlg dlg;
    size_t idsAfterFind = 0;
    size_t linesAfterFind = 0;
    size_t idsOffline = 1;
    m_work = [&](CDialog*)
    {
        for (int i = 0; i < 3; ++i)
            Click(&dlg, IDC_FIND);
        idsAfterFind = dlg.GetLineClassIds().size();
        linesAfterFind = Lines(&dlg, IDC_LIST).size();
        Type(&dlg, IDC_COMPUTER, "nohost.invalid");
        Click(&dlg, IDC_FIND);
        idsOffline = dlg.GetLineClassIds().size();
        return IDCANCEL;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_GT(linesAfterFind, 0u);
    EXPECT_EQ(idsAfterFind, linesAfterFind);
    EXPECT_EQ(idsOffline, 0u);
    EXPECT_TRUE(dlg.GetLineClassIds().empty());
}

TEST_F(StatusTest, ShowsTheTenFieldsOfARunningServer)
{
    std::unique_ptr<CInfoServer> server = std::make_unique<CInfoServer>(0, 0, 0);
    ASSERT_TRUE(server->SetServer(L"", QUENDREL_OPCDASERVER_PROGID));
    ASSERT_TRUE(server->Connect());
    CComQIPtr<IOPCServer> itf(server->GetInterface().p);
    OPCSERVERSTATUS* raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(itf->GetStatus(&raw)));
    CString start;
    ASSERT_TRUE(AfxFormatFileTime(raw->ftStartTime, L"%c", start));
    CoTaskMemFree(raw->szVendorInfo);
    CoTaskMemFree(raw);

    std::vector<CString> fields;
    m_work = [&](CDialog* dlg)
    {
        for (int id : {12510, 12511, 12513, 12515, 12517, 12519, 12521, 12523, 12525, 12527})
            fields.push_back(Text(dlg, id));
        Shoot(dlg, "status");
        return IDOK;
    };
    EXPECT_TRUE(server->GetStatus(TRUE));
    ASSERT_EQ(fields.size(), 10u);
    EXPECT_EQ(fields[0], start);
    EXPECT_NE(fields[1], CString(L"Unknown"));
    EXPECT_FALSE(fields[1].IsEmpty());
    EXPECT_EQ(fields[2], CString(L"No updates"));
    EXPECT_EQ(fields[3], CString(L"Unknown"));
    EXPECT_EQ(fields[4], CString(L"Quendrel OPC DA server (stand-in)"));
    EXPECT_EQ(fields[5], CString(L"The server is running."));
    EXPECT_EQ(fields[6], CString(L"0"));
    EXPECT_EQ(fields[7], CString(L"3"));
    EXPECT_EQ(fields[8], CString(L"0"));
    EXPECT_EQ(fields[9], CString(L"1"));
    server->Disconnect();
}

TEST_F(StatusTest, EachServerStateHasItsText)
{
    std::unique_ptr<CInfoServer> server = std::make_unique<CInfoServer>(0, 0, 0);
    ASSERT_TRUE(server->SetServer(L"", QUENDREL_OPCDASERVER_PROGID));
    ASSERT_TRUE(server->Connect());
    const std::pair<int, const wchar_t*> states[] = {
        {1, L"The server is running."},
        {2, L"The server is failed."},
        {3, L"The server is unconfigured."},
        {4, L"The server is suspended."},
        {5, L"The server is in test mode."},
        {6, L"OPC server comm fault"},
        {7, L"Unknown"},
    };
    for (const auto& [state, text] : states)
    {
        SCOPED_TRACE(state);
        OpcStandIn::FAULT f;
        f.kind = OpcStandIn::FAULT_NEVER_RUNNING;
        f.state = OPCSERVERSTATE(state);
        OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, f);
        CString shown;
        m_work = [&](CDialog* dlg)
        {
            shown = Text(dlg, 12519);
            return IDOK;
        };
        EXPECT_TRUE(server->GetStatus(TRUE));
        EXPECT_EQ(shown, CString(text));
    }
    OpcStandIn::ClearFault(CLSID_QuendrelOpcDaServer, OpcStandIn::FAULT_NEVER_RUNNING);
    server->Disconnect();
}

TEST_F(StatusTest, TimesTheClockCannotShowReadUnknown)
{
    OPCSERVERSTATUS status = {};
    status.ftStartTime = {0, 0x7FFFFFFF};   // far beyond the calendar
    status.ftCurrentTime = {5, 0x01000000}; // before 1970
    status.dwServerState = OPC_STATUS_RUNNING;
    status.dwBandWidth = 12;
    const COPCStatusTexts t = OPCStatusTexts(status);
    EXPECT_EQ(t.strStartTime, CString(L"Unknown"));
    EXPECT_EQ(t.strCurrentTime, CString(L"Unknown"));
    EXPECT_EQ(t.strLastUpdateTime, CString(L"No updates"));
    EXPECT_EQ(t.strBandWidth, CString(L"12"));
    EXPECT_TRUE(t.strVendorInfo.IsEmpty());
}

namespace
{
// A server list of 250 classes: every seventh fails its details, every eleventh has no ProgID,
// every thirteenth no description.
class CFakeServerList : public CComObjectImpl<IOPCServerList>
{
public:
    static GUID Id(ULONG i) { return GUID{i, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}}; }

    HRESULT STDMETHODCALLTYPE EnumClassesOfCategories(ULONG, CATID[], ULONG, CATID[],
                                                      IEnumGUID** out) override
    {
        std::vector<GUID> ids;
        for (ULONG i = 1; i <= 250; ++i)
            ids.push_back(Id(i));
        return QyrCreateEnumGUID(std::move(ids), out);
    }
    HRESULT STDMETHODCALLTYPE GetClassDetails(REFCLSID clsid, LPOLESTR* progId, LPOLESTR* userType) override
    {
        *progId = *userType = nullptr;
        const ULONG i = clsid.Data1;
        if (i % 7 == 0)
            return E_FAIL;
        if (i % 11 != 0)
            *progId = Dup(L"Fake." + std::to_wstring(i));
        if (i % 13 != 0)
            *userType = Dup(L"Fake server");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CLSIDFromProgID(LPCOLESTR, LPCLSID) override { return E_NOTIMPL; }

private:
    static LPOLESTR Dup(const std::wstring& s)
    {
        auto* p = static_cast<LPOLESTR>(CoTaskMemAlloc((s.size() + 1) * sizeof(wchar_t)));
        std::copy(s.c_str(), s.c_str() + s.size() + 1, p);
        return p;
    }
};
} // namespace

TEST(ServerDiscovery, SkipsClassesWithoutDetailsAndCountsTheLastShortBatch)
{
    CComPtr<CFakeServerList> list = QyrNewObject<CFakeServerList>();
    std::vector<COPCServerEntry> servers;
    ASSERT_TRUE(OPCListServers(list, CATID_OPCDAServer20, servers));
    size_t expected = 0;
    for (ULONG i = 1; i <= 250; ++i)
        expected += (i % 7 != 0 && i % 11 != 0) ? 1 : 0;
    ASSERT_EQ(servers.size(), expected);
    EXPECT_EQ(servers.back().strProgID, CString(L"Fake.250"));
    for (const COPCServerEntry& e : servers)
    {
        const ULONG i = e.clsid.Data1;
        EXPECT_EQ(e.strProgID, CString((L"Fake." + std::to_wstring(i)).c_str()));
        EXPECT_EQ(e.strUserType, CString(i % 13 == 0 ? L"" : L"Fake server"));
    }
    EXPECT_EQ(OPCServerLine(servers.front()), CString(L"Fake.1  (Fake server)"));
    EXPECT_FALSE(OPCListServers(nullptr, CATID_OPCDAServer20, servers));
}

TEST_F(ChooserTest, TheEventServerChooserListsOnlyEventServersAndHandsBackThePick)
{
    CEventConnectDlg dlg;
    std::vector<std::wstring> lines;
    m_work = [&](CDialog*)
    {
        lines = Lines(&dlg, IDC_LIST);
        Type(&dlg, IDC_SERVER, "");
        Click(&dlg, IDOK); // nothing picked: warned, stays open
        QListWidget* list = Widget<QListWidget>(&dlg, IDC_LIST);
        const auto found =
            list->findItems(QStringLiteral("Quendrel.OpcEventServer.1  ("), Qt::MatchStartsWith);
        if (found.size() != 1)
            return IDCANCEL;
        const QRect rect = list->visualItemRect(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        return IDCANCEL;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(L"Quendrel.OpcEventServer.1  (", 0), 0u);
    EXPECT_EQ(m_boxes, (std::vector<std::wstring>{L"You must select an OPC server !"}));
    EXPECT_EQ(dlg.GetProgID(), CString(L"Quendrel.OpcEventServer.1"));
    EXPECT_TRUE(dlg.GetClsid() == CLSID_QuendrelOpcEventServer);
}
