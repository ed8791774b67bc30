#include "editor/QYRDrawApp.h"
#include "mfc/ModalHook.h"
#include "mfc/Terminate.h"
#include "mfc/WinApp.h"

#include <QApplication>

#include <cstdio>

namespace
{
// Run headless nobody can answer a box: its text goes to the error output and the first button is
// taken.
int AnswerHeadless(const AfxModalRequest& request)
{
    if (request.kind != AfxModalKind::MessageBox)
        return IDCANCEL;
    std::fprintf(stderr, "QYRDraw: %s\n", request.strText.ToUtf8().c_str());
    switch (request.nType & MB_TYPEMASK)
    {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}
} // namespace

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    qtApp.setQuitOnLastWindowClosed(false);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        AfxSetModalHook(AnswerHeadless);
    AfxCloseMainWindowOnTerminate();
    CQYRDrawApp theApp;
    return AfxWinMain(argc, argv);
}
