// The group and item property dialogs: their values, range checks and data types.
#include "OpcDialogTestSupport.h"

#include "opc/OPCDataTypes.h"

#include <QCheckBox>

using namespace opcdlgtest;

namespace
{
const int IDC_RATE = 12504;
const int IDC_BIAS = 12506;
const int IDC_DEADBAND = 12505;
const int IDC_DATACHANGE = 12539;
const int IDC_TYPE = 12536;

class PropertyDlgTest : public OpcDialogTest
{
};
} // namespace

TEST_F(PropertyDlgTest, GroupDialogChecksItsRanges)
{
    ASSERT_NE(ExplorerServer(), nullptr);
    struct Case
    {
        int control;
        const char* typed;
        const wchar_t* message; // null: accepted
    };
    const Case cases[] = {
        {IDC_RATE, "100000", nullptr},
        {IDC_BIAS, "100", nullptr},
        {IDC_DEADBAND, "100", nullptr},
        {IDC_RATE, "100001", L"Please enter an integer between 0 and 100000."},
        {IDC_BIAS, "101", L"Please enter an integer between 0 and 100."},
        {IDC_BIAS, "-1", L"Please enter an integer between 0 and 100."},
        {IDC_DEADBAND, "100.1", L"Please enter a number between 0 and 100."},
        {IDC_RATE, "abc", L"Please enter a positive integer."},
        {IDC_BIAS, "abc", L"Please enter an integer."},
        {IDC_DEADBAND, "abc", L"Please enter a number."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.control) + " " + c.typed);
        m_boxes.clear();
        bool open = false;
        m_work = [&](CDialog* dlg)
        {
            Type(dlg, c.control, c.typed);
            Click(dlg, IDOK);
            open = StillOpen(dlg);
            return IDCANCEL;
        };
        COPCGroupDlgData data;
        data.strName = L"G1";
        const int result = COPCDialogs::DoGroupDialog(data);
        if (!c.message)
        {
            EXPECT_EQ(result, IDOK);
            EXPECT_FALSE(open);
            EXPECT_TRUE(m_boxes.empty());
            const double typed = QString(c.typed).toDouble();
            EXPECT_EQ(c.control == IDC_RATE   ? double(data.dwUpdateRate)
                      : c.control == IDC_BIAS ? double(data.lTimeBias)
                                              : double(data.fDeadBand),
                      typed);
            continue;
        }
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(open);
        ASSERT_EQ(m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes[0], c.message);
        // Nothing changed.
        EXPECT_EQ(data.dwUpdateRate, 100u);
        EXPECT_EQ(data.lTimeBias, 0);
    }
}

TEST_F(PropertyDlgTest, GroupDialogTicksAndDisablesDataChangeAtVersionOne)
{
    CInfoServer* server = ExplorerServer();
    ASSERT_NE(server, nullptr);
    for (float version : {1.0f, 2.0f})
    {
        SCOPED_TRACE(version);
        server->SetOPCVersion(version);
        bool enabled = true;
        bool checked = false;
        m_work = [&](CDialog* dlg)
        {
            QCheckBox* box = Widget<QCheckBox>(dlg, IDC_DATACHANGE);
            enabled = box->isEnabled();
            checked = box->isChecked();
            if (version < 2.0f)
                Shoot(dlg, "group");
            return IDOK;
        };
        COPCGroupDlgData data;
        data.bDataChangeEnabled = FALSE;
        EXPECT_EQ(COPCDialogs::DoGroupDialog(data), IDOK);
        EXPECT_EQ(enabled, version > 1.0f);
        EXPECT_EQ(checked, version <= 1.0f);
        EXPECT_EQ(data.bDataChangeEnabled, version <= 1.0f ? TRUE : FALSE);
    }
}

TEST_F(PropertyDlgTest, ItemDialogShowsTheDataTypeAndGivesZeroForOneOutsideTheList)
{
    struct Case
    {
        VARTYPE type;
        int shown;
        VARTYPE back;
    };
    const Case cases[] = {
        {VT_EMPTY, 0, VT_EMPTY}, {VT_R8, 12, VT_R8}, {VT_DECIMAL, 17, VT_DECIMAL}, {VT_ERROR, -1, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        int shown = -2;
        QString text;
        CString id;
        m_work = [&](CDialog* dlg)
        {
            QComboBox* combo = Widget<QComboBox>(dlg, IDC_TYPE);
            shown = combo->currentIndex();
            text = combo->currentText();
            id = Text(dlg, 12535);
            if (c.type == VT_R8)
                Shoot(dlg, "item");
            return IDOK;
        };
        COPCItemDlgData data;
        data.vtDataType = c.type;
        data.strItemID = L"Plant.Area1.Tank1.Level";
        data.hClient = 7;
        EXPECT_EQ(COPCDialogs::DoItemDialog(data), IDOK);
        EXPECT_EQ(shown, c.shown);
        if (c.shown >= 0)
        {
            EXPECT_EQ(text.toStdWString(), OPCDataTypeText(c.shown).str());
        }
        EXPECT_EQ(id, CString(L"Plant.Area1.Tank1.Level"));
        EXPECT_EQ(data.vtDataType, c.back);
        EXPECT_EQ(data.hClient, 7u);
    }
    EXPECT_EQ(OPCDataTypeText(0), CString(L"Native (VT_EMPTY)"));
}

TEST(OPCDataTypes, PositionsAndTypesMapBothWays)
{
    for (int pos = 0; pos < OPCDataTypeCount(); ++pos)
        EXPECT_EQ(OPCPositionFromDataType(OPCDataTypeFromPosition(pos)), pos);
    EXPECT_EQ(OPCDataTypeCount(), 18);
    EXPECT_EQ(OPCDataTypeFromPosition(-1), VT_EMPTY);
    EXPECT_EQ(OPCDataTypeFromPosition(18), VT_EMPTY);
    EXPECT_EQ(OPCDataTypeFromPosition(1), VT_INT);
    EXPECT_EQ(OPCPositionFromDataType(VT_ERROR), -1);
}
