#include "mfc/Terminate.h"

#include "mfc/Messages.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int g_pipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &c, 1);
}
} // namespace

void AfxCloseMainWindowOnTerminate()
{
    if (g_pipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated,
                     []
                     {
                         char buf[16];
                         while (::read(g_pipe[0], buf, sizeof buf) > 0)
                         {
                         }
                         if (CWnd* main = AfxGetMainWnd())
                             main->PostMessage(WM_CLOSE, 0, 0);
                         else
                             PostQuitMessage(0);
                     });
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}
