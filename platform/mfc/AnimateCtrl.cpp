#include "mfc/AnimateCtrl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/ResourceModule.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <climits>

using namespace ControlPriv;

namespace
{
// Larger clip files are not read.
constexpr qint64 kMaxClipBytes = 64 * 1024 * 1024;
constexpr int kDefaultInterval = 100;
constexpr int kMinInterval = 10;
constexpr int kForever = -1;

// A key of the clip: absent gives the default; present it must be a positive whole number.
bool ClipNumber(const QImage& strip, const char* key, int nDefault, int* pValue)
{
    const QString text = strip.text(QLatin1String(key));
    if (text.isEmpty())
    {
        *pValue = nDefault;
        return true;
    }
    bool ok = false;
    *pValue = text.trimmed().toInt(&ok);
    return ok && *pValue > 0;
}

class CAnimateWidget : public QWidget
{
public:
    CAnimateWidget(DWORD dwStyle, QWidget* pParent) : QWidget(pParent), m_dwStyle(dwStyle)
    {
        setAutoFillBackground(!(dwStyle & ACS_TRANSPARENT));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
    }

    void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
    bool IsPlaying() const { return m_timer.isActive(); }

    // Takes a clip's bytes; FALSE leaves the control without a clip.
    bool Open(const QByteArray& bytes)
    {
        Close();
        QImage strip;
        if (bytes.isEmpty() || !strip.loadFromData(bytes))
            return false;
        int frames = 1;
        int interval = kDefaultInterval;
        if (!ClipNumber(strip, "Frames", 1, &frames) ||
            !ClipNumber(strip, "Interval", kDefaultInterval, &interval) || frames > strip.width() ||
            strip.width() % frames != 0)
            return false;
        m_strip = std::move(strip);
        m_nFrames = frames;
        m_nFrameWidth = m_strip.width() / frames;
        m_timer.setInterval(std::max(kMinInterval, interval));
        m_nCurrent = 0;
        update();
        if (m_dwStyle & ACS_AUTOPLAY)
            Play(0, m_nFrames - 1, kForever);
        return true;
    }

    void Close()
    {
        Stop();
        m_strip = QImage();
        m_nFrames = 0;
        m_nCurrent = 0;
        update();
    }

    bool Play(int nFrom, int nTo, int nRepeat)
    {
        if (m_nFrames == 0 || nFrom < 0 || nFrom >= m_nFrames)
            return false;
        nTo = std::min(nTo, m_nFrames - 1);
        if (nTo < nFrom)
            return false;
        Stop();
        m_nCurrent = nFrom;
        update();
        // One frame shown once is a seek: nothing plays.
        if (nRepeat == 0 || (nFrom == nTo && nRepeat == 1))
            return true;
        m_nFrom = nFrom;
        m_nTo = nTo;
        m_nRepeatLeft = nRepeat;
        m_timer.start();
        Notify(ACN_START);
        return true;
    }

    void Stop()
    {
        if (!m_timer.isActive())
            return;
        m_timer.stop();
        Notify(ACN_STOP);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_nFrames == 0)
            return;
        QPainter painter(this);
        const QSize frame(m_nFrameWidth, m_strip.height());
        QPoint at(0, 0);
        if (m_dwStyle & ACS_CENTER)
            at = QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2);
        painter.drawImage(QRect(at, frame), m_strip, QRect(QPoint(m_nCurrent * m_nFrameWidth, 0), frame));
    }

private:
    void Step()
    {
        if (m_nCurrent < m_nTo)
            ++m_nCurrent;
        else if (m_nRepeatLeft == kForever || --m_nRepeatLeft > 0)
            m_nCurrent = m_nFrom;
        else
        {
            Stop();
            return;
        }
        update();
    }

    void Notify(WORD nCode)
    {
        if (m_hWnd)
            AfxNotifyParent(m_hWnd, nCode);
    }

    DWORD m_dwStyle;
    HWND m_hWnd = nullptr;
    QTimer m_timer;
    QImage m_strip;
    int m_nFrames = 0;
    int m_nFrameWidth = 0;
    int m_nCurrent = 0;
    int m_nFrom = 0;
    int m_nTo = 0;
    int m_nRepeatLeft = 0;
};

QByteArray ReadClip(WPARAM wParam, LPARAM lParam)
{
    const auto name = reinterpret_cast<LPCWSTR>(lParam);
    const auto hModule = reinterpret_cast<HINSTANCE>(wParam);
    if (hModule || IS_INTRESOURCE(name))
    {
        const AFX_RESOURCE_DATA* data =
            hModule ? AfxFindResourceData(hModule, name, L"AVI") : AfxFindResourceData(name, L"AVI");
        if (!data || !data->pData || data->nSize == 0 || data->nSize > size_t(kMaxClipBytes))
            return QByteArray();
        return QByteArray(reinterpret_cast<const char*>(data->pData), qsizetype(data->nSize));
    }
    QFile file(ToQt(name));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxClipBytes)
        return QByteArray();
    return file.readAll();
}

BOOL AnimateProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* anim = dynamic_cast<CAnimateWidget*>(pWidget);
    if (!anim)
        return FALSE;
    switch (message)
    {
    case ACM_OPENW:
        if (!lParam)
        {
            anim->Close();
            *pResult = TRUE;
        }
        else
            *pResult = anim->Open(ReadClip(wParam, lParam));
        return TRUE;
    case ACM_PLAY:
    {
        const int from = LOWORD(lParam);
        const int to = HIWORD(lParam) == 0xFFFF ? INT_MAX : HIWORD(lParam);
        const int repeat = int(wParam) < 0 ? kForever : int(std::min<WPARAM>(wParam, INT_MAX));
        *pResult = anim->Play(from, to, repeat);
        return TRUE;
    }
    case ACM_STOP:
        anim->Stop();
        *pResult = TRUE;
        return TRUE;
    case ACM_ISPLAYING:
        *pResult = anim->IsPlaying();
        return TRUE;
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS AnimateClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = ANIMATE_CLASSW;
    cls.styleWords = {
        {L"ACS_CENTER", ACS_CENTER},
        {L"ACS_TRANSPARENT", ACS_TRANSPARENT},
        {L"ACS_AUTOPLAY", ACS_AUTOPLAY},
        {L"ACS_TIMER", ACS_TIMER},
    };
    cls.pfnCreate = [](const CString&, DWORD dwStyle, QWidget* pParent) -> QWidget*
    { return new CAnimateWidget(dwStyle, pParent); };
    cls.pfnConnect = [](HWND hWnd, QWidget* pWidget)
    {
        if (auto* anim = dynamic_cast<CAnimateWidget*>(pWidget))
            anim->SetHandle(hWnd);
    };
    cls.pfnWindowProc = AnimateProc;
    cls.pfnNewObject = &AfxNewControlObject<CAnimateCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(AnimateClass());
} // namespace

IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(ANIMATE_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

BOOL CAnimateCtrl::Open(LPCWSTR lpszFileName)
{
    return BOOL(SendMessage(ACM_OPENW, 0, reinterpret_cast<LPARAM>(lpszFileName)));
}

BOOL CAnimateCtrl::Open(UINT nID)
{
    const LPCWSTR name = MAKEINTRESOURCE(nID);
    return BOOL(SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(AfxFindResourceHandle(name, L"AVI")),
                            reinterpret_cast<LPARAM>(name)));
}

BOOL CAnimateCtrl::Play(UINT nFrom, UINT nTo, UINT nRep)
{
    return BOOL(SendMessage(ACM_PLAY, WPARAM(int(nRep)), MAKELONG(WORD(nFrom), WORD(nTo))));
}

BOOL CAnimateCtrl::Stop()
{
    return BOOL(SendMessage(ACM_STOP));
}

BOOL CAnimateCtrl::Close()
{
    return BOOL(SendMessage(ACM_OPENW));
}

BOOL CAnimateCtrl::Seek(UINT nTo)
{
    return Play(nTo, nTo, 1);
}

BOOL CAnimateCtrl::IsPlaying() const
{
    return BOOL(const_cast<CAnimateCtrl*>(this)->SendMessage(ACM_ISPLAYING));
}
