#include "symbols/FOPSingleInstance.h"

#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "win32/Sync.h"
#include "win32/System.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace
{
// The socket lives in the user's runtime folder, named after the class name: its start for people
// and a hash of the whole, so that any name fits a socket path.
QString ServerName(const CString& strClassName)
{
    const QString full = QString::fromStdWString(strClassName.GetString());
    QString name = full.left(24);
    for (QChar& ch : name)
        if (!ch.isLetterOrNumber())
            ch = QLatin1Char('_');
    const QByteArray hash =
        QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/qyr-%1-%2-%3").arg(::getuid()).arg(name, QString::fromLatin1(hash));
}

void RaiseMainWindow()
{
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd())
        return;
    if (main->IsIconic())
        main->ShowWindow(SW_RESTORE);
    main->BringWindowToTop();
    main->SetForegroundWindow();
}
} // namespace

CFOPSingleInstance::CFOPSingleInstance() = default;

CFOPSingleInstance::~CFOPSingleInstance()
{
    m_pServer.reset();
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
}

bool CFOPSingleInstance::Create(UINT nID, LPCWSTR lpszName)
{
    if (lpszName)
    {
        m_strClassName = lpszName;
    }
    else
    {
        CString text;
        m_strClassName.Empty();
        if (text.LoadString(nID))
        {
            const int end = text.Find(L'\n');
            m_strClassName = end < 0 ? text : text.Left(end);
        }
    }
    m_strClassName += L" Class";

    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, m_strClassName);
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS)
    {
        if (mutex)
            ::CloseHandle(mutex);
        // Knock: the first instance brings its window to the front.
        QLocalSocket socket;
        socket.connectToServer(ServerName(m_strClassName));
        if (socket.waitForConnected(1000))
        {
            socket.write("raise", 5);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
        }
        return false;
    }
    m_hMutex = mutex;

    const QString name = ServerName(m_strClassName);
    // Holding the lock, any socket left under the name is a dead instance's.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name))
    {
        AfxMessageBox(L"Failed to register window class!", MB_ICONERROR);
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        return false;
    }
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw,
                     [raw]
                     {
                         while (QLocalSocket* knock = raw->nextPendingConnection())
                         {
                             QObject::connect(knock, &QLocalSocket::disconnected, knock,
                                              &QObject::deleteLater);
                             knock->disconnectFromServer();
                         }
                         RaiseMainWindow();
                     });
    m_pServer = std::move(server);
    return true;
}
