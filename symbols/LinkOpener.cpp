#include "symbols/LinkOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include <mutex>

namespace
{
std::mutex g_lock;
LinkOpenerFn g_opener;

BOOL OpenWithDesktop(const CString& strAddress)
{
    return QDesktopServices::openUrl(QUrl(QString::fromStdWString(strAddress.GetString()), QUrl::StrictMode));
}
} // namespace

CString NormalizeLinkAddress(LPCWSTR lpszLink)
{
    if (!lpszLink)
        return CString();
    QString text = QString::fromStdWString(lpszLink).trimmed();
    if (text.isEmpty())
        return CString();
    // Tolerant: links typed into screens may hold blanks and the like; they get encoded.
    QUrl url(text, QUrl::TolerantMode);
    if (url.isValid() && url.scheme().isEmpty())
        url = QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
    if (!url.isValid())
        return CString();
    const QString scheme = url.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (web && url.host().isEmpty())
        return CString();
    if (!web && scheme != QLatin1String("mailto") && scheme != QLatin1String("file"))
        return CString();
    return CString(url.toString(QUrl::FullyEncoded).toStdWString().c_str());
}

BOOL OpenLinkInBrowser(LPCWSTR lpszLink, int)
{
    const CString address = NormalizeLinkAddress(lpszLink);
    if (address.IsEmpty())
        return FALSE;
    LinkOpenerFn opener;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        opener = g_opener;
    }
    return opener ? opener(address) : OpenWithDesktop(address);
}

LinkOpenerFn SetLinkOpener(LinkOpenerFn fn)
{
    std::lock_guard<std::mutex> guard(g_lock);
    LinkOpenerFn old = std::move(g_opener);
    g_opener = std::move(fn);
    return old;
}
