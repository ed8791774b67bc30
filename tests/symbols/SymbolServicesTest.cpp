// The programs' shared services: single instance, link opener, About box, "app" and the visual
// proxy.
#include "SymbolTestSupport.h"

#include "com/ClassRegistry.h"
#include "com/Variant.h"
#include "figkit/FOImageShape.h"
#include "figkit/FOToolBoxPage.h"
#include "figkit/FODrawShape.h"
#include "mfc/ResourceModule.h"
#include "mfc/Dc.h"
#include "mfc/FrameWnd.h"
#include "mfc/Gdi.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "symbols/AboutDlg.h"
#include "symbols/FOPSingleInstance.h"
#include "symbols/LinkOpener.h"
#include "symbols/NewMethodHost.h"
#include "symbols/NewVisualProxy.h"
#include "win32/Registry.h"
#include "win32/Shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace symbols_test;

namespace
{
// A left click pressed at one point of a widget and released at another.
void ClickWidget(QWidget* pWidget, QPoint press, QPoint release)
{
    ASSERT_NE(pWidget, nullptr);
    QMouseEvent down(QEvent::MouseButtonPress, press, pWidget->mapToGlobal(press), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, release, pWidget->mapToGlobal(release), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &up);
}

CString UniqueName()
{
    return CString(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdWString().c_str());
}

// A main window for the application while a test runs.
struct MainWindow
{
    CFrameWnd* frame = new CFrameWnd;
    MainWindow()
    {
        frame->Create(nullptr, L"Main");
        frame->ShowWindow(SW_SHOW);
        AfxGetApp()->m_pMainWnd = frame;
    }
    ~MainWindow()
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        frame->DestroyWindow();
    }
};
} // namespace

class SymbolServices : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        if (!AfxGetApp())
            m_app = std::make_unique<CWinApp>();
    }
    std::unique_ptr<CWinApp> m_app;
};

TEST_F(SymbolServices, SecondInstanceIsRefusedAndRaisesTheFirst)
{
    const CString name = UniqueName();
    MainWindow main;
    main.frame->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(main.frame->IsIconic());
    {
        CFOPSingleInstance first;
        ASSERT_TRUE(first.Create(128, name));
        EXPECT_EQ(first.GetClassName(), name + L" Class");
        CFOPSingleInstance second;
        EXPECT_FALSE(second.Create(128, name));
        EXPECT_TRUE(PumpUntil([&] { return !main.frame->IsIconic(); }));
    }
    // The lock goes with the first instance.
    CFOPSingleInstance again;
    EXPECT_TRUE(again.Create(128, name));
}

// Run by the test below in a second process: refused means exit code 0.
TEST(SymbolServicesChild, SecondStart)
{
    const QByteArray name = qgetenv("QYR_TEST_INSTANCE_NAME");
    if (name.isEmpty())
        GTEST_SKIP() << "runs only as the second process";
    AfxEnsureApplication();
    CFOPSingleInstance second;
    const bool accepted = second.Create(128, CString(QString::fromUtf8(name).toStdWString().c_str()));
    std::fflush(nullptr);
    std::_Exit(accepted ? 1 : 0);
}

TEST_F(SymbolServices, SecondProcessIsRefusedAndRaisesTheFirst)
{
    const CString name = UniqueName();
    MainWindow main;
    main.frame->ShowWindow(SW_MINIMIZE);
    CFOPSingleInstance first;
    ASSERT_TRUE(first.Create(128, name));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QYR_TEST_INSTANCE_NAME", QString::fromStdWString(name.GetString()));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SymbolServicesChild.*"});
    ASSERT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    EXPECT_TRUE(PumpUntil([&] { return !main.frame->IsIconic(); }));
}

TEST_F(SymbolServices, SecondInstanceBeforeTheFirstHasAWindowRaisesNothing)
{
    const CString name = UniqueName();
    CFOPSingleInstance first;
    ASSERT_TRUE(first.Create(128, name));
    CFOPSingleInstance second;
    EXPECT_FALSE(second.Create(128, name));
    PumpUntil([] { return false; }, 100);
    // Without a name the string resource names the class; a missing one leaves only " Class".
    CFOPSingleInstance unnamed;
    EXPECT_TRUE(unnamed.Create(64999));
    EXPECT_EQ(unnamed.GetClassName(), CString(L" Class"));
}

TEST_F(SymbolServices, LinksGoToTheDesktopOpenerOnlyForTheirSchemes)
{
    std::vector<CString> opened;
    SetLinkOpener(
        [&](const CString& address)
        {
            opened.push_back(address);
            return TRUE;
        });
    struct Case
    {
        const wchar_t* link;
        const wchar_t* address; // null: refused
    };
    const Case cases[] = {
        {L"http://example.com/a b", L"http://example.com/a%20b"},
        {L"https://example.com/x?q=1&r=2", L"https://example.com/x?q=1&r=2"},
        {L"MAILTO:ann@example.com", L"mailto:ann@example.com"},
        {L"  www.example.com  ", L"http://www.example.com"},
        {L"file:///home/ann/report.pdf", L"file:///home/ann/report.pdf"},
        {L"http://x\" --user-data-dir=/tmp/evil", nullptr},
        {L"javascript:alert(1)", nullptr},
        {L"ftp://example.com/", nullptr},
        {L"vbscript:x", nullptr},
        {L"http://", nullptr},
        {L"", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.link).ToUtf8());
        opened.clear();
        EXPECT_EQ(OpenLinkInBrowser(c.link, SW_SHOW), c.address ? TRUE : FALSE);
        if (c.address)
        {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0], CString(c.address));
        }
        else
        {
            EXPECT_TRUE(opened.empty());
        }
    }
    EXPECT_FALSE(OpenLinkInBrowser(nullptr, SW_SHOW));
    // The opener's failure is the caller's answer.
    SetLinkOpener([](const CString&) { return FALSE; });
    EXPECT_FALSE(OpenLinkInBrowser(L"https://example.com", SW_SHOW));
    SetLinkOpener(nullptr);
}

TEST_F(SymbolServices, AboutBoxShowsItsLinkAndStartsSystemInformation)
{
    QTemporaryDir dir;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSInfo");
    // Without the registry entry "System..." does nothing.
    EXPECT_FALSE(CAboutDlg::StartSystemInfo());

    const QString marker = dir.filePath("started");
    const QString script = dir.filePath("msinfo.sh");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring path = script.toStdWString();
    ASSERT_EQ(RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             DWORD((path.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);

    CString link;
    std::vector<CString> opened;
    // The link goes to the desktop's opener through the shell's open.
    Win32SetStartHook(
        [&](const std::wstring& program, const std::vector<std::wstring>& args)
        {
            EXPECT_TRUE(QString::fromStdWString(program).endsWith(QLatin1String("xdg-open")));
            for (const std::wstring& a : args)
                opened.push_back(CString(a.c_str()));
            return TRUE;
        });
    bool sawButton = false;
    AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            CWnd* linkWnd = r.pDialog->GetDlgItem(CAboutDlg::IDC_LINK);
            linkWnd->GetWindowText(link);
            const QImage shot = r.pDialog->GetWidget()->grab().toImage();
            EXPECT_TRUE(shot.save(QStringLiteral(QYR_ABOUT_PNG)));
            // A click on the link opens its address; a click that ends outside it does not.
            ClickWidget(linkWnd->GetWidget(), QPoint(2, 2), QPoint(2, 2));
            ClickWidget(linkWnd->GetWidget(), QPoint(2, 2), QPoint(-20, 2));
            CWnd* button = r.pDialog->GetDlgItem(CAboutDlg::IDC_SYSTEM_INFO);
            sawButton = button != nullptr;
            r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(CAboutDlg::IDC_SYSTEM_INFO, BN_CLICKED),
                                   LPARAM(button ? button->GetSafeHwnd() : nullptr));
            return IDOK;
        });
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
    AfxSetModalHook(nullptr);
    Win32SetStartHook(nullptr);
    EXPECT_TRUE(sawButton);
    EXPECT_EQ(link, CString(L"https://www.quendrel.example/"));
    EXPECT_EQ(opened, std::vector<CString>{CString(L"https://www.quendrel.example/")});
    EXPECT_TRUE(PumpUntil([&] { return QFile::exists(marker); }, 5000));
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSInfo");
}

TEST_F(SymbolServices, MethodHostIsCreatableByProgIdAndLocksTheApplication)
{
    const LONG locks = AfxOleGetLockCount();
    ASSERT_TRUE(CNewMethodHost::RegisterClassFactory());
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"Quendrel.MethodHost", &clsid), S_OK);
    EXPECT_TRUE(IsEqualGUID(clsid, CLSID_NewMethodHost));

    IDispatch* app = nullptr;
    ASSERT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&app)),
        S_OK);
    EXPECT_GT(AfxOleGetLockCount(), locks);
    // Its own interface id answers with the same dispatch interface; the base's methods are there.
    IUnknown* own = nullptr;
    ASSERT_EQ(app->QueryInterface(IID_INewMethodHost, reinterpret_cast<void**>(&own)), S_OK);
    EXPECT_EQ(static_cast<void*>(own), static_cast<void*>(app));
    own->Release();
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetGVarValue"), const_cast<LPOLESTR>(L"GetCurTimerStep")};
    DISPID id = 0;
    EXPECT_EQ(app->GetIDsOfNames(IID_NULL, &names[0], 1, 0, &id), S_OK);
    EXPECT_NE(app->GetIDsOfNames(IID_NULL, &names[1], 1, 0, &id), S_OK);
    app->Release();
    EXPECT_EQ(AfxOleGetLockCount(), locks);

    // Only the programs' own forms may stand behind the ProgID.
    EXPECT_FALSE(CNewMethodHost::RegisterClassFactory(RUNTIME_CLASS(CXVKMethodHost)));
    CNewMethodHost::RevokeClassFactory();
    EXPECT_NE(CLSIDFromProgID(L"Quendrel.MethodHost", &clsid), S_OK);
}

TEST_F(SymbolServices, VisualProxyGivesTheEditorsTextsPicturesAndDefaults)
{
    CNewVisualProxy proxy;
    EXPECT_EQ(proxy.GetPixelSizeText(640), CString(L"640 Pixel"));

    CString tip = L"base";
    proxy.DoGenAddiToolTips(tip, 31016);
    EXPECT_EQ(tip, CString(L"Key Setting..."));
    proxy.DoGenAddiToolTips(tip, 31057);
    EXPECT_EQ(tip, CString(L"Event Setting..."));
    tip = L"base";
    proxy.DoGenAddiToolTips(tip, 31056);
    EXPECT_EQ(tip, CString(L"base"));

    CBitmap bitmap;
    EXPECT_TRUE(proxy.LoadNamedBitmap(L"5.xxx", bitmap));
    EXPECT_EQ(bitmap.GetImage(), nullptr);
    for (const wchar_t* name : {L"1.xxx", L"2.XXX", L"3.xxx", L"4.xxx"})
    {
        CBitmap named;
        EXPECT_TRUE(proxy.LoadNamedBitmap(name, named));
        ASSERT_NE(named.GetImage(), nullptr) << CString(name).ToUtf8();
        EXPECT_EQ(named.GetImage()->size(), QSize(16, 16));
    }

    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(image);
        proxy.DoDrawAddiWithType(&dc, CPoint(2, 2), 1006);
        proxy.DoDrawAddiWithType(&dc, CPoint(22, 2), 1101);
    }
    // The tiles' colours, away from their white marks.
    EXPECT_NE(QColor(image.pixel(5, 15)), QColor(Qt::white));
    EXPECT_NE(QColor(image.pixel(25, 15)), QColor(Qt::white));
    EXPECT_NE(image.pixel(5, 15), image.pixel(25, 15));

    CArray<CPoint, CPoint> ports;
    ports.Add(CPoint(1, 2));
    proxy.GenerateDefaultPorts(ports);
    EXPECT_EQ(ports.GetSize(), 1);
    CNewVisualProxy::SetNoDefaultPorts(TRUE);
    proxy.GenerateDefaultPorts(ports);
    CNewVisualProxy::SetNoDefaultPorts(FALSE);
    EXPECT_EQ(ports.GetSize(), 0);

    std::vector<FO_PROP_DEFAULT> defaults;
    proxy.DoAddDefaultPropValues(defaults);
    ASSERT_EQ(defaults.size(), 1u);
    EXPECT_EQ(defaults[0].nPropId, 15008);
    EXPECT_EQ(defaults[0].value.m_nValueType, FO_VALUE_STRING);
    EXPECT_TRUE(defaults[0].value.m_strValue.IsEmpty());
    std::vector<FO_PROP_DESCRIPTION> descriptions;
    proxy.DoInitDefaultPropDescription(descriptions);
    ASSERT_EQ(descriptions.size(), 1u);
    EXPECT_EQ(descriptions[0].nPropId, 15009);
    EXPECT_EQ(descriptions[0].strDescription, CString(L"P_CHART_POINTS: Chart Points : CString"));

    // The editor installs it through the library's start-up.
    FOInit(RUNTIME_CLASS(CNewVisualProxy), 0);
    EXPECT_NE(dynamic_cast<CNewVisualProxy*>(CFOPVisualProxy::GetInstance()), nullptr);
    CFOPVisualProxy::SetInstance(nullptr);
}

// The canvas asks the installed proxy: the extra handles of a selected shape show its icons and
// tooltips, a new shape gets its default properties and (while the option lets it) its default
// ports, a shape being sized shows its size text, and an image shape takes its named bitmaps.
TEST_F(SymbolServices, TheCanvasDrawsAndNamesThroughTheProxy)
{
    FOInit(RUNTIME_CLASS(CNewVisualProxy), 0);
    Screen screen(CSize(400, 300));
    screen.canvas.ShowWindow(SW_SHOW);
    for (BOOL noPorts : {FALSE, TRUE})
    {
        CNewVisualProxy::SetNoDefaultPorts(noPorts);
        CFOToolBoxItem item(FO_COMP_RECTANGLE, L"Rectangle", CString(), CSize(60, 40));
        CFODrawShape* shape =
            screen.canvas.DoDropToolBoxItem(FO_COMP_RECTANGLE, CPoint(60 + noPorts * 140, 100), &item);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetPortCount(), noPorts ? 0 : 4);
        CString script = L"unset";
        EXPECT_TRUE(shape->GetPropStringValue(script, CNewVisualProxy::PROP_SCRIPT_PROC));
        EXPECT_TRUE(script.IsEmpty());
    }
    CNewVisualProxy::SetNoDefaultPorts(FALSE);
    EXPECT_EQ(FOGetPropDescription(CNewVisualProxy::PROP_CHART_POINTS),
              CString(L"P_CHART_POINTS: Chart Points : CString"));
    EXPECT_EQ(screen.canvas.GetTrackSizeText(CRect(0, 0, 120, 80)), CString(L"120 Pixel x 80 Pixel"));

    // The dropped shape is selected: the library's two handles beside it.
    ASSERT_EQ(screen.canvas.GetSelectCount(), 1);
    ASSERT_EQ(screen.canvas.GetSelectHandleItems().size(), 2u);
    PumpUntil([] { return false; }, 100);
    const QImage shot = screen.canvas.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const AFX_RESOURCE_DATA* data = AfxFindIconData(CNewVisualProxy::IDI_KEY_SETTING);
    ASSERT_NE(data, nullptr);
    QImage icon;
    ASSERT_TRUE(icon.loadFromData(data->pData, int(data->nSize)));
    icon = icon.convertToFormat(QImage::Format_ARGB32);
    const CRect key = screen.canvas.GetSelectHandleItemRect(0);
    EXPECT_EQ(key.Size(), CSize(16, 16));
    int same = 0, opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (qAlpha(icon.pixel(x, y)) == 255)
            {
                ++opaque;
                same += QColor(shot.pixel(key.left + x, key.top + y)) == QColor(icon.pixel(x, y));
            }
    EXPECT_GT(opaque, 64);
    EXPECT_EQ(same, opaque);
    // The connect handle is the library's own framed square.
    const CRect connect = screen.canvas.GetSelectHandleItemRect(1);
    EXPECT_EQ(QColor(shot.pixel(connect.left, connect.top)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(connect.CenterPoint().x, connect.CenterPoint().y)), QColor(255, 255, 225));

    // Hovering a handle shows the proxy's text as the canvas's tooltip; the connect handle has none.
    QWidget* w = screen.canvas.GetWidget();
    auto hover = [w](CPoint pt)
    {
        const QPointF local(pt.x, pt.y);
        QMouseEvent move(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        return w->toolTip();
    };
    EXPECT_EQ(hover(key.CenterPoint()), QStringLiteral("Key Setting..."));
    EXPECT_EQ(hover(connect.CenterPoint()), QString());
    EXPECT_EQ(hover(key.CenterPoint()), QStringLiteral("Key Setting..."));
    EXPECT_EQ(hover(CPoint(5, 5)), QString());

    // An image shape named after one of the proxy's bitmaps shows it.
    CFOImageShape image;
    EXPECT_TRUE(image.LoadImageW(L"2.xxx", 0, 0xFFFFFF));
    EXPECT_TRUE(image.HasImage());
    EXPECT_FALSE(image.LoadImageW(L"5.xxx", 0, 0xFFFFFF));

    CFOPVisualProxy::SetInstance(nullptr);
}
