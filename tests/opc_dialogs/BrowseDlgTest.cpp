// The tag browser against the stand-in servers: the tree read branch by branch, the leaves of the
// chosen branch, the fully qualified ID handed back, the flat list and a server without browsing.
#include "OpcDialogTestSupport.h"

#include "opc/OPCBrowse.h"
#include "opc/TagBrowseDlg.h"

using namespace opcdlgtest;

namespace
{
const int IDC_TAGS = 11010;
const int IDC_ITEM_NAME = 11011;
const int IDC_TREE = 11012;
const int IDC_FLAT = 11015;
const char kBrowseCall[] = "IOPCBrowseServerAddressSpace::BrowseOPCItemIDs";

QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i)
    {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

QStringList Children(QTreeWidgetItem* parent)
{
    QStringList texts;
    for (int i = 0; parent && i < parent->childCount(); ++i)
        texts << parent->child(i)->text(0);
    return texts;
}

int BrowseCalls()
{
    return OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, kBrowseCall);
}

class BrowseDlgTest : public OpcDialogTest
{
protected:
    int Browse(LPCWSTR server, COPCBrowseDlgData& data)
    {
        data.strServer = server;
        data.strComputer = L"";
        return COPCDialogs::DoBrowseDialog(data);
    }
};
} // namespace

TEST_F(BrowseDlgTest, ReadsEachBranchOnceAndHandsBackTheFullItemId)
{
    QStringList top;
    QStringList rootDummies;
    int callsFirstOpen = -1;
    int callsSecondOpen = -1;
    QStringList plant;
    QStringList tank1;
    QStringList leaves;
    CString name;
    m_work = [&](CDialog* dlg)
    {
        auto* tree = Widget<QTreeWidget>(dlg, IDC_TREE);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        EXPECT_EQ(tree->topLevelItemCount(), 1);
        EXPECT_EQ(root->text(0), "Root");
        EXPECT_TRUE(root->isExpanded());
        EXPECT_EQ(tree->currentItem(), root);
        top = Children(root);
        for (int i = 0; i < root->childCount(); ++i)
            rootDummies << Children(root->child(i));

        QTreeWidgetItem* plantNode = Child(root, "Plant");
        int before = BrowseCalls();
        tree->expandItem(plantNode);
        callsFirstOpen = BrowseCalls() - before;
        plant = Children(plantNode);
        tree->collapseItem(plantNode);
        before = BrowseCalls();
        tree->expandItem(plantNode);
        callsSecondOpen = BrowseCalls() - before;

        QTreeWidgetItem* area1 = Child(plantNode, "Area1");
        tree->expandItem(area1);
        QTreeWidgetItem* tank1Node = Child(area1, "Tank1");
        tree->setCurrentItem(tank1Node);
        tank1 = Children(tank1Node);
        for (const std::wstring& line : Lines(dlg, IDC_TAGS))
            leaves << QString::fromStdWString(line);
        auto* list = Widget<QListWidget>(dlg, IDC_TAGS);
        const auto level = list->findItems("Level", Qt::MatchExactly);
        if (!level.isEmpty())
            list->setCurrentItem(level.front());
        name = Text(dlg, IDC_ITEM_NAME);
        Shoot(dlg, "browse");
        return IDOK;
    };
    COPCBrowseDlgData data;
    EXPECT_EQ(Browse(QUENDREL_OPCDASERVER_PROGID, data), IDOK);
    EXPECT_EQ(top, QStringList({"Simulation", "Memory", "Plant", "Bulk"}));
    EXPECT_EQ(rootDummies, QStringList({"Dummy", "Dummy", "Dummy", "Dummy"}));
    EXPECT_EQ(callsFirstOpen, 1);
    EXPECT_EQ(callsSecondOpen, 0);
    EXPECT_EQ(plant, QStringList({"Area1", "Area2"}));
    EXPECT_EQ(tank1, QStringList({"Dummy"}));
    EXPECT_EQ(leaves, QStringList({"Level", "Temperature", "Valve"}));
    EXPECT_EQ(name, CString(L"Plant.Area1.Tank1.Level"));
    EXPECT_EQ(data.strItemID, CString(L"Plant.Area1.Tank1.Level"));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(BrowseDlgTest, EveryOperationReturnsToTheRootAlsoAfterARefusedStep)
{
    int leavesOfArea2 = -1;
    m_work = [&](CDialog* dlg)
    {
        auto* tree = Widget<QTreeWidget>(dlg, IDC_TREE);
        QTreeWidgetItem* plantNode = Child(tree->topLevelItem(0), "Plant");
        tree->expandItem(plantNode);
        // The step into Area1 is refused: that node stays empty...
        OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCBrowseServerAddressSpace::ChangeBrowsePosition",
                             E_FAIL, 2);
        tree->setCurrentItem(Child(plantNode, "Area1"));
        EXPECT_TRUE(Lines(dlg, IDC_TAGS).empty());
        // ...and the next operation still starts from the root.
        QTreeWidgetItem* area2 = Child(plantNode, "Area2");
        tree->expandItem(area2);
        tree->setCurrentItem(Child(area2, "Pump1"));
        leavesOfArea2 = int(Lines(dlg, IDC_TAGS).size());
        return IDCANCEL;
    };
    COPCBrowseDlgData data;
    EXPECT_EQ(Browse(QUENDREL_OPCDASERVER_PROGID, data), IDCANCEL);
    EXPECT_EQ(leavesOfArea2, 2);
}

TEST_F(BrowseDlgTest, FlatServerShowsItsListAndAServerWithoutBrowsingSaysSo)
{
    struct Case
    {
        const char* name;
        LPCWSTR server;
        std::function<void()> arrange;
        std::vector<std::wstring> firstLines;
        bool treeShown;
    };
    const Case cases[] = {
        {"flat",
         QUENDREL_OPCTESTDA10_PROGID,
         [] { OpcStandIn::ListDa10AsDa20(TRUE); },
         {L"Ramp", L"Sine", L"Random"},
         false},
        {"no browsing",
         QUENDREL_OPCDASERVER_PROGID,
         [] { OpcStandIn::SetBrowsing(CLSID_QuendrelOpcDaServer, FALSE); },
         {L"Browsing not supported"},
         false},
        // Not found by name among the DA 2.0 servers: the dialog stays empty.
        {"DA 1.0 not listed", QUENDREL_OPCTESTDA10_PROGID, [] {}, {}, true},
        {"creation fails",
         QUENDREL_OPCDASERVER_PROGID,
         [] { OpcStandIn::FailCreation(CLSID_QuendrelOpcDaServer); },
         {},
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OpcStandIn::Reset();
        c.arrange();
        std::vector<std::wstring> flat;
        bool flatShown = false;
        bool treeShown = false;
        int selected = -1;
        CString title;
        m_work = [&](CDialog* dlg)
        {
            flat = Lines(dlg, IDC_FLAT);
            flatShown = Widget<QListWidget>(dlg, IDC_FLAT)->isVisible();
            treeShown = Widget<QTreeWidget>(dlg, IDC_TREE)->isVisible();
            selected = Widget<QListWidget>(dlg, IDC_FLAT)->currentRow();
            dlg->GetWindowText(title);
            if (std::string(c.name) == "flat")
                Shoot(dlg, "browse-flat");
            return IDCANCEL;
        };
        COPCBrowseDlgData data;
        Logvane_ClearCaptured();
        EXPECT_EQ(Browse(c.server, data), IDCANCEL);
        EXPECT_EQ(title, CString(c.server));
        bool creationLogged = false;
        for (const std::wstring& line : Logvane_GetCapturedLines())
            creationLogged |= line.find(L"CoCreateInstanceEx failed: 80004005") != std::wstring::npos;
        EXPECT_EQ(creationLogged, std::string(c.name) == "creation fails");
        EXPECT_EQ(treeShown, c.treeShown);
        EXPECT_EQ(flatShown, !c.treeShown);
        ASSERT_GE(flat.size(), c.firstLines.size());
        EXPECT_TRUE(std::equal(c.firstLines.begin(), c.firstLines.end(), flat.begin()));
        if (!c.firstLines.empty() && c.firstLines[0] != L"Browsing not supported")
        {
            EXPECT_EQ(selected, 0);
        }
    }
}

TEST_F(BrowseDlgTest, ClimbingToTheRootStopsAfterTenStepsAndNoBranchNamedRootIsEntered)
{
    // A server whose browse position never reaches the top.
    class CEndless : public IOPCBrowseServerAddressSpace
    {
    public:
        int ups = 0;
        std::vector<std::wstring> downs;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE QueryOrganization(OPCNAMESPACETYPE*) override { return E_FAIL; }
        HRESULT STDMETHODCALLTYPE ChangeBrowsePosition(OPCBROWSEDIRECTION direction, LPCWSTR name) override
        {
            if (direction == OPC_BROWSE_UP)
                ++ups;
            else
                downs.push_back(name);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE BrowseOPCItemIDs(OPCBROWSETYPE, LPCWSTR, VARTYPE, DWORD,
                                                   LPENUMSTRING*) override
        {
            return E_FAIL;
        }
        HRESULT STDMETHODCALLTYPE GetItemID(LPWSTR, LPWSTR*) override { return E_FAIL; }
        HRESULT STDMETHODCALLTYPE BrowseAccessPaths(LPCWSTR, LPENUMSTRING*) override { return E_FAIL; }
    } endless;
    CIOPCBrowseServerAddressSpace browse(static_cast<IOPCBrowseServerAddressSpace*>(&endless));
    OPCBrowseToRoot(browse, 10);
    EXPECT_EQ(endless.ups, 10);
    EXPECT_EQ(OPCBrowseDownTo(browse, {L"Root", L"Plant", L"Root", L"Area1"}), S_OK);
    EXPECT_EQ(endless.downs, (std::vector<std::wstring>{L"Plant", L"Area1"}));
}
