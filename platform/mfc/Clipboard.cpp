#include "Clipboard.h"

#include "mfc/Wnd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <cstring>
#include <memory>
#include <vector>

namespace
{
struct ClipboardState
{
    bool open = false;
    HWND owner = nullptr;
    std::unique_ptr<QMimeData> pending; // staged by SetClipboardData, published on close
    std::vector<HGLOBAL> handedOut;     // GetClipboardData's blocks, freed on close
    HWND lastOwner = nullptr;           // the window that emptied it last
    const QMimeData* published = nullptr;
};

ClipboardState& State()
{
    static ClipboardState state;
    return state;
}

QString MimeFor(UINT format)
{
    if (format == CF_TEXT || format == CF_UNICODETEXT)
        return QStringLiteral("text/plain");
    WCHAR name[256] = {};
    int n = GetClipboardFormatNameW(format, name, 256);
    if (n <= 0)
        return {};
    return QStringLiteral("application/x-qyr-") + QString::fromWCharArray(name, n);
}

QByteArray BlockBytes(HGLOBAL h)
{
    size_t size = GlobalSize(h);
    auto* data = static_cast<const char*>(GlobalLock(h));
    if (!data)
        return {};
    QByteArray bytes(data, static_cast<qsizetype>(size));
    GlobalUnlock(h);
    return bytes;
}

HGLOBAL MakeBlock(const void* data, size_t size)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!h)
        return nullptr;
    if (size)
        std::memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    return h;
}

QClipboard* Desktop()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}
} // namespace

BOOL OpenClipboard(HWND hWndNewOwner)
{
    ClipboardState& s = State();
    if (s.open || !Desktop())
        return FALSE;
    s.open = true;
    s.owner = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    ClipboardState& s = State();
    if (!s.open)
        return FALSE;
    if (s.pending)
    {
        s.published = s.pending.get();
        Desktop()->setMimeData(s.pending.release());
    }
    for (HGLOBAL h : s.handedOut)
        GlobalFree(h);
    s.handedOut.clear();
    s.open = false;
    s.owner = nullptr;
    return TRUE;
}

BOOL EmptyClipboard()
{
    ClipboardState& s = State();
    if (!s.open)
        return FALSE;
    s.pending = std::make_unique<QMimeData>();
    s.lastOwner = s.owner;
    return TRUE;
}

HWND GetClipboardOwner()
{
    ClipboardState& s = State();
    QClipboard* desktop = Desktop();
    // Ours while the desktop still holds what we published last.
    if (!desktop || !s.published || desktop->mimeData() != s.published || !::IsWindow(s.lastOwner))
        return nullptr;
    return s.lastOwner;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    ClipboardState& s = State();
    if (!s.open || !hMem)
        return nullptr;
    QString mime = MimeFor(uFormat);
    if (mime.isEmpty())
        return nullptr;
    if (!GlobalLock(hMem)) // not a block of ours
        return nullptr;
    GlobalUnlock(hMem);
    QByteArray bytes = BlockBytes(hMem);
    if (!s.pending) // setting without emptying first adds to what is there
    {
        s.pending = std::make_unique<QMimeData>();
        if (const QMimeData* now = Desktop()->mimeData())
            for (const QString& f : now->formats())
                s.pending->setData(f, now->data(f));
    }
    if (uFormat == CF_TEXT)
        s.pending->setText(QString::fromUtf8(bytes.constData(), qstrnlen(bytes.constData(), bytes.size())));
    else if (uFormat == CF_UNICODETEXT)
    {
        const auto* w = reinterpret_cast<const char16_t*>(bytes.constData());
        qsizetype n = bytes.size() / 2, len = 0;
        while (len < n && w[len])
            ++len;
        s.pending->setText(QString::fromUtf16(w, len));
    }
    else
        s.pending->setData(mime, bytes);
    GlobalFree(hMem);
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    ClipboardState& s = State();
    if (!s.open)
        return nullptr;
    const QMimeData* data = s.pending ? s.pending.get() : Desktop()->mimeData();
    if (!data)
        return nullptr;
    HGLOBAL h = nullptr;
    if (uFormat == CF_TEXT || uFormat == CF_UNICODETEXT)
    {
        if (!data->hasText())
            return nullptr;
        QString text = data->text();
        if (uFormat == CF_TEXT)
        {
            QByteArray utf8 = text.toUtf8();
            h = MakeBlock(utf8.constData(), static_cast<size_t>(utf8.size()) + 1);
        }
        else
            h = MakeBlock(text.utf16(), (static_cast<size_t>(text.size()) + 1) * sizeof(char16_t));
    }
    else
    {
        QString mime = MimeFor(uFormat);
        if (mime.isEmpty() || !data->hasFormat(mime))
            return nullptr;
        QByteArray bytes = data->data(mime);
        h = MakeBlock(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    if (h)
        s.handedOut.push_back(h);
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    ClipboardState& s = State();
    QClipboard* desktop = Desktop();
    if (!desktop)
        return FALSE;
    const QMimeData* data = s.pending ? s.pending.get() : desktop->mimeData();
    if (!data)
        return FALSE;
    if (format == CF_TEXT || format == CF_UNICODETEXT)
        return data->hasText();
    QString mime = MimeFor(format);
    return !mime.isEmpty() && data->hasFormat(mime);
}
