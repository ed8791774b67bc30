// The hosted stand-in controls: made by class id in a window, driven by dispatch ids, painted into
// the window, saved and loaded through their state streams (a foreign one byte for byte), and edited
// through their property page.
#include "activex/InstrumentControl.h"
#include "activex/InstrumentPropPage.h"
#include "activex/OleControlWnd.h"
#include "com/ComError.h"
#include "mfc/Dialog.h"
#include "support/ModalHook.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

namespace
{
class ControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr));
    }

    const INSTRUMENT_CONTROL_INFO& Info(LPCWSTR name)
    {
        for (const INSTRUMENT_CONTROL_INFO& info : AfxInstrumentControls())
            if (CString(info.lpszName) == name)
                return info;
        ADD_FAILURE() << "no control";
        return AfxInstrumentControls().front();
    }

    static CInstrumentControl* Of(COleControlWnd& wnd)
    {
        IDispatch* disp = nullptr;
        if (!wnd.GetControlUnknown() ||
            FAILED(wnd.GetControlUnknown()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
            return nullptr;
        disp->Release();
        return static_cast<CInstrumentControl*>(disp);
    }

    BOOL Make(COleControlWnd& wnd, LPCWSTR name, COleStreamFile* state = nullptr)
    {
        return wnd.CreateControl(Info(name).clsid, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 160),
                                 &host, 7, state);
    }

    static std::vector<BYTE> SavedState(COleControlWnd& wnd)
    {
        CComPtr<IPersistStreamInit> persist;
        EXPECT_EQ(wnd.GetControlUnknown()->QueryInterface(IID_IPersistStreamInit,
                                                          reinterpret_cast<void**>(&persist)),
                  S_OK);
        CComPtr<CMemoryStream> stream = QyrNewObject<CMemoryStream>();
        EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
        return stream->Bytes();
    }

    CWnd host;
};
} // namespace

TEST_F(ControlTest, EveryControlIsMadeByItsClassIdAndPaintsIntoItsWindow)
{
    ASSERT_EQ(AfxInstrumentControls().size(), 63u);
    for (const INSTRUMENT_CONTROL_INFO& info : AfxInstrumentControls())
    {
        COleControlWnd wnd;
        ASSERT_TRUE(Make(wnd, info.lpszName)) << CString(info.lpszName).ToUtf8();
        ASSERT_NE(wnd.GetSafeHwnd(), nullptr);
        EXPECT_EQ(wnd.GetDlgCtrlID(), 7);
        CInstrumentControl* control = Of(wnd);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(&control->Info(), &info);
        CComPtr<IOleClientSite> site;
        CComPtr<IOleObject> ole;
        ASSERT_EQ(wnd.GetControlUnknown()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole)),
                  S_OK);
        ASSERT_EQ(ole->GetClientSite(&site), S_OK);
        EXPECT_EQ(site->GetSiteWindow(), wnd.GetSafeHwnd());
    }

    // A dial paints its face and needle over the window.
    COleControlWnd dial;
    ASSERT_TRUE(Make(dial, L"iAngularGauge"));
    host.ShowWindow(SW_SHOW);
    const QImage image = dial.GetWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QRgb face = image.pixel(image.width() / 2 - 30, image.height() / 2 + 10);
    EXPECT_EQ(qRed(face), 0xE0); // the default back colour
}

TEST_F(ControlTest, AClassThatIsNoControlIsNotMade)
{
    COleControlWnd wnd;
    const CLSID unknown = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_FALSE(wnd.CreateControl(unknown, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 1));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.GetControlUnknown(), nullptr);
    // Calls without a control do nothing.
    double d = 5;
    wnd.GetProperty(65, VT_R8, &d);
    EXPECT_EQ(d, 5);
}

TEST_F(ControlTest, PropertiesAndMethodsGoByDispatchId)
{
    COleControlWnd gauge;
    ASSERT_TRUE(Make(gauge, L"iAngularGauge"));
    gauge.SetProperty(65, VT_R8, 42.5);
    double d = 0;
    gauge.GetProperty(65, VT_R8, &d);
    EXPECT_EQ(d, 42.5);
    gauge.SetProperty(68, VT_BOOL, FALSE);
    BOOL visible = TRUE;
    gauge.GetProperty(68, VT_BOOL, &visible);
    EXPECT_FALSE(visible);
    EXPECT_EQ(Of(gauge)->GetPutCount(), 2);
    try
    {
        gauge.SetProperty(66, VT_R8, 1.0);
        ADD_FAILURE() << "dispatch id 66 is no member";
    }
    catch (const _com_error& e)
    {
        EXPECT_EQ(e.Error(), DISP_E_MEMBERNOTFOUND);
    }

    COleControlWnd bar;
    ASSERT_TRUE(Make(bar, L"iPercentBar"));
    bar.InvokeHelper(54, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_R8, long(0), 77.0);
    bar.InvokeHelper(51, DISPATCH_METHOD, VT_R8, &d, VTS_I4, long(0));
    EXPECT_EQ(d, 77.0);
    EXPECT_THROW(bar.InvokeHelper(51, DISPATCH_METHOD, VT_R8, &d, VTS_I4, long(INSTRUMENT_BAR_COUNT)),
                 _com_error);

    COleControlWnd label;
    ASSERT_TRUE(Make(label, L"iLabel"));
    label.SetProperty(-518, VT_BSTR, L"Boiler 3");
    CString text;
    label.GetProperty(-518, VT_BSTR, &text);
    EXPECT_EQ(text, CString(L"Boiler 3"));
}

TEST_F(ControlTest, StateGoesRoundTheStreamAndAForeignStreamIsKeptByteForByte)
{
    COleControlWnd first;
    ASSERT_TRUE(Make(first, L"iSwitchRotary"));
    CInstrumentSettings edited = Of(first)->Settings();
    edited.strCaption = L"Mode";
    edited.nCount = 9;
    Of(first)->SetSettings(edited);
    const std::vector<BYTE> saved = SavedState(first);

    COleStreamFile file;
    ASSERT_TRUE(file.CreateMemoryStream());
    ASSERT_TRUE(file.Write(saved.data(), UINT(saved.size())));
    file.SeekToBegin();
    COleControlWnd second;
    ASSERT_TRUE(Make(second, L"iSwitchRotary", &file));
    EXPECT_EQ(Of(second)->Settings(), edited);
    EXPECT_FALSE(Of(second)->HasForeignState());

    // Another maker's stream: kept, written back unchanged, drawn with the defaults.
    const std::vector<BYTE> foreign = {0xD0, 0xCF, 0x11, 0xE0, 0x00, 0x01, 0xFF, 0x7F, 0x42};
    COleStreamFile other;
    ASSERT_TRUE(other.CreateMemoryStream());
    ASSERT_TRUE(other.Write(foreign.data(), UINT(foreign.size())));
    other.SeekToBegin();
    COleControlWnd third;
    ASSERT_TRUE(Make(third, L"iSwitchRotary", &other));
    EXPECT_TRUE(Of(third)->HasForeignState());
    EXPECT_EQ(Of(third)->Settings(), InstrumentDefaultSettings(EInstrumentRenderer::Switch, 6));
    EXPECT_EQ(SavedState(third), foreign);
}

TEST_F(ControlTest, PropertyPageEditsTheSettingsAndRefusesWrongValues)
{
    COleControlWnd wnd;
    ASSERT_TRUE(Make(wnd, L"iThermometer"));
    CComPtr<IOleObject> ole;
    ASSERT_EQ(wnd.GetControlUnknown()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole)), S_OK);

    std::vector<CString> messages;
    CString title;
    int round = 0;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::MessageBox)
            {
                messages.push_back(r.strText);
                return IDOK;
            }
            CDialog* dlg = r.pDialog;
            dlg->GetWindowText(title);
            EXPECT_EQ(dlg->GetDlgItemInt(IDC_INSTR_COUNT), 11u);
            dlg->SetDlgItemText(IDC_INSTR_CAPTION, L"Oven");
            dlg->SetDlgItemText(IDC_INSTR_MIN, L"20");
            dlg->SetDlgItemText(IDC_INSTR_MAX, round == 0 ? L"10" : L"300");
            dlg->SetDlgItemText(IDC_INSTR_ACTIVE, L"#FF8000");
            if (round++ == 0)
            {
                // A maximum below the minimum keeps the page open.
                dlg->SendMessage(WM_COMMAND, IDOK);
                EXPECT_EQ(messages.size(), 1u);
                return IDCANCEL;
            }
            return IDOK;
        });

    EXPECT_EQ(ole->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, host.GetSafeHwnd(), nullptr), S_FALSE);
    EXPECT_EQ(title, CString(L"iThermometer Properties"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], CString(L"The maximum must be a number greater than the minimum."));
    EXPECT_EQ(Of(wnd)->Settings().strCaption, CString());

    EXPECT_EQ(ole->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, host.GetSafeHwnd(), nullptr), S_OK);
    const CInstrumentSettings& s = Of(wnd)->Settings();
    EXPECT_EQ(s.strCaption, CString(L"Oven"));
    EXPECT_EQ(s.dMin, 20);
    EXPECT_EQ(s.dMax, 300);
    EXPECT_EQ(s.crActive, RGB(0xFF, 0x80, 0x00));
}

TEST(InstrumentPropPage, ColoursReadOnlyAsHashAndSixHexDigits)
{
    COLORREF cr = 0;
    EXPECT_TRUE(CInstrumentPropPage::ParseColour(L" #0a0B0c ", cr));
    EXPECT_EQ(cr, RGB(0x0A, 0x0B, 0x0C));
    EXPECT_EQ(CInstrumentPropPage::FormatColour(cr), CString(L"#0A0B0C"));
    for (LPCWSTR bad : {L"", L"0A0B0C", L"#0A0B0", L"#0A0B0CD", L"#0A0B0G"})
        EXPECT_FALSE(CInstrumentPropPage::ParseColour(bad, cr)) << CString(bad).ToUtf8();
}
