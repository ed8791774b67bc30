#include "mfc/ControlRegistry.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/Notify.h"
#include "mfc/WndPrivate.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cwctype>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace
{
const char kTextProperty[] = "qyr.text";
const char kStyleProperty[] = "qyr.style";
// The registry slot (plus one) of the class a control was made with.
const char kClassProperty[] = "qyr.ctlclass";

std::wstring Key(LPCWSTR s)
{
    std::wstring key(s);
    for (wchar_t& c : key)
        c = wchar_t(std::towupper(wint_t(c)));
    return key;
}

struct CControlRegistry
{
    std::mutex mutex;
    // Never shrinks, and a deque keeps its elements in place: entries outlive every control.
    std::deque<AFX_CONTROL_CLASS> entries;
    std::unordered_map<std::wstring, size_t> byName;
    std::unordered_map<std::wstring, DWORD> styleWords;
};

CControlRegistry& Registry()
{
    static CControlRegistry* registry = new CControlRegistry; // controls may outlive statics
    return *registry;
}

const AFX_CONTROL_CLASS* FindSlot(LPCWSTR lpszClassName, size_t* pSlot)
{
    if (!lpszClassName || IS_INTRESOURCE(lpszClassName) || !*lpszClassName)
        return nullptr;
    CControlRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byName.find(Key(lpszClassName));
    if (it == r.byName.end())
        return nullptr;
    if (pSlot)
        *pSlot = it->second;
    return &r.entries[it->second];
}

const AFX_CONTROL_CLASS* ClassOfWidget(const QWidget* pWidget)
{
    const QVariant v = pWidget ? pWidget->property(kClassProperty) : QVariant();
    if (!v.isValid())
        return nullptr;
    CControlRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const size_t slot = size_t(v.toULongLong()) - 1;
    return slot < r.entries.size() ? &r.entries[slot] : nullptr;
}

// Copies text into a caller's buffer of cch characters, Win32 style; returns the count copied.
LRESULT CopyOut(const CString& text, WPARAM cch, LPARAM buffer)
{
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (!out || cch == 0)
        return 0;
    const size_t n = std::min(size_t(text.GetLength()), size_t(cch) - 1);
    std::wmemcpy(out, text.GetString(), n);
    out[n] = L'\0';
    return LRESULT(n);
}

class CKeyFilter : public QObject
{
public:
    explicit CKeyFilter(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        const HWND h = w ? AfxWindowAtOrAbove(w) : nullptr;
        return h && AfxPreTranslateKey(h, static_cast<QKeyEvent*>(e));
    }
};
} // namespace

// --- Registry --------------------------------------------------------------------------------------

BOOL AfxRegisterControlClass(AFX_CONTROL_CLASS cls)
{
    if (cls.strClassName.IsEmpty() || !cls.pfnCreate)
        return FALSE;
    if (!cls.pfnNewObject)
        cls.pfnNewObject = &AfxNewControlObject<CWnd>;
    CControlRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (const auto& [word, bits] : cls.styleWords)
        r.styleWords[word.str()] = bits;
    const std::wstring key = Key(cls.strClassName);
    r.entries.push_back(std::move(cls));
    r.byName[key] = r.entries.size() - 1;
    return TRUE;
}

const AFX_CONTROL_CLASS* AfxFindControlClass(LPCWSTR lpszClassName)
{
    return FindSlot(lpszClassName, nullptr);
}

BOOL AfxControlStyleWord(LPCWSTR lpszWord, DWORD* pdwBits)
{
    if (!lpszWord)
        return FALSE;
    CControlRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.styleWords.find(lpszWord);
    if (it == r.styleWords.end())
        return FALSE;
    if (pdwBits)
        *pdwBits = it->second;
    return TRUE;
}

void AfxNotifyParent(HWND hWnd, WORD wNotifyCode)
{
    AfxQtEntry entry;
    const HWND parent = ::GetParent(hWnd);
    if (parent)
        AfxSendFromQt(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hWnd), wNotifyCode),
                      reinterpret_cast<LPARAM>(hWnd));
}

LRESULT AfxSendNotify(HWND hWndFrom, UINT code, NMHDR* pHdr)
{
    AfxQtEntry entry;
    const HWND parent = ::GetParent(hWndFrom);
    if (!parent || !pHdr)
        return 0;
    pHdr->hwndFrom = hWndFrom;
    pHdr->idFrom = UINT_PTR(::GetDlgCtrlID(hWndFrom));
    pHdr->code = code;
    if (CWnd* self = CWnd::FromHandlePermanent(hWndFrom))
    {
        LRESULT result = 0;
        AFX_NOTIFY notify = {&result, pHdr};
        if (self->OnCmdMsg(0, int(AFX_REFLECT_NOTIFY_CODE(code)), &notify, nullptr))
            return result;
    }
    return AfxSendFromQt(parent, WM_NOTIFY, WPARAM(pHdr->idFrom), reinterpret_cast<LPARAM>(pHdr));
}

// --- What the families share -----------------------------------------------------------------------

namespace ControlPriv
{
QString ToQt(LPCWSTR s)
{
    return s ? QString::fromWCharArray(s) : QString();
}

QString ToQt(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}

CString FromQt(const QString& s)
{
    std::wstring w = s.toStdWString();
    return CString(std::move(w));
}

int CompareNoCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

DWORD WidgetStyle(const QWidget* pWidget)
{
    return DWORD(pWidget->property(kStyleProperty).toUInt());
}

LRESULT CopyWhole(const QString& text, LPARAM buffer)
{
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    const CString s = FromQt(text);
    if (out)
    {
        std::wmemcpy(out, s.GetString(), size_t(s.GetLength()));
        out[s.GetLength()] = L'\0';
    }
    return s.GetLength();
}

int InsertPosition(int count, int nIndex, bool bSorted, const std::function<QString(int)>& textAt,
                   const QString& text)
{
    if (!bSorted)
        return (nIndex < 0 || nIndex > count) ? count : nIndex;
    // The items are kept in order, so the place is found by halving.
    int lo = 0;
    int hi = count;
    while (lo < hi)
    {
        const int mid = lo + (hi - lo) / 2;
        if (CompareNoCase(textAt(mid), text) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int FindItem(int count, const std::function<QString(int)>& textAt, int nStart, const QString& find,
             bool bExact)
{
    if (count <= 0)
        return -1;
    const int first = (nStart < 0 || nStart >= count) ? 0 : nStart + 1;
    for (int k = 0; k < count; ++k)
    {
        const int i = (first + k) % count;
        const QString t = textAt(i);
        if (bExact ? CompareNoCase(t, find) == 0 : t.startsWith(find, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void FilterKeys(QWidget* pWidget)
{
    static QPointer<CKeyFilter> filter;
    if (!filter && QCoreApplication::instance())
        filter = new CKeyFilter(QCoreApplication::instance());
    if (filter && pWidget)
        pWidget->installEventFilter(filter.data());
}
} // namespace ControlPriv

// --- The framework's side --------------------------------------------------------------------------

bool AfxIsControlClass(LPCWSTR lpszClassName)
{
    return AfxFindControlClass(lpszClassName) != nullptr;
}

QWidget* AfxCreateControlWidget(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, QWidget* pParent)
{
    size_t slot = 0;
    const AFX_CONTROL_CLASS* cls = FindSlot(lpszClassName, &slot);
    if (!cls)
        return nullptr;
    QWidget* w = cls->pfnCreate(CString(lpszText ? lpszText : L""), dwStyle, pParent);
    if (w)
    {
        w->setProperty(kStyleProperty, uint(dwStyle));
        w->setProperty(kTextProperty, ControlPriv::ToQt(lpszText));
        w->setProperty(kClassProperty, QVariant::fromValue<qulonglong>(slot + 1));
    }
    return w;
}

void AfxConnectControl(HWND hWnd, QWidget* pWidget)
{
    if (!pWidget)
        return;
    ControlPriv::FilterKeys(pWidget);
    const AFX_CONTROL_CLASS* cls = ClassOfWidget(pWidget);
    if (cls && cls->pfnConnect)
        cls->pfnConnect(hWnd, pWidget);
}

void AfxSetWidgetText(QWidget* pWidget, const CString& text)
{
    if (!pWidget)
        return;
    pWidget->setProperty(kTextProperty, ControlPriv::ToQt(text));
    if (pWidget->isWindow() || qobject_cast<QMdiSubWindow*>(pWidget))
        pWidget->setWindowTitle(ControlPriv::ToQt(text));
    else if (const AFX_CONTROL_CLASS* cls = ClassOfWidget(pWidget); cls && cls->pfnSetText)
        cls->pfnSetText(pWidget, text);
}

CString AfxGetWidgetText(const QWidget* pWidget)
{
    if (!pWidget)
        return CString();
    CString text;
    if (const AFX_CONTROL_CLASS* cls = ClassOfWidget(pWidget);
        cls && cls->pfnGetText && cls->pfnGetText(pWidget, text))
        return text;
    const QVariant v = pWidget->property(kTextProperty);
    if (v.isValid())
        return ControlPriv::FromQt(v.toString());
    if (pWidget->isWindow())
        return ControlPriv::FromQt(pWidget->windowTitle());
    return CString();
}

BOOL AfxControlWindowProc(HWND hWnd, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult)
{
    if (!pWidget || !pResult)
        return FALSE;
    switch (message)
    {
    case WM_SETTEXT:
        AfxSetWidgetText(pWidget, CString(reinterpret_cast<LPCWSTR>(lParam)));
        *pResult = TRUE;
        return TRUE;
    case WM_GETTEXT:
        *pResult = CopyOut(AfxGetWidgetText(pWidget), wParam, lParam);
        return TRUE;
    case WM_GETTEXTLENGTH:
        *pResult = AfxGetWidgetText(pWidget).GetLength();
        return TRUE;
    default:
        break;
    }
    const AFX_CONTROL_CLASS* cls = ClassOfWidget(pWidget);
    return cls && cls->pfnWindowProc ? cls->pfnWindowProc(hWnd, pWidget, message, wParam, lParam, pResult)
                                     : FALSE;
}

CWnd* AfxNewControlWrapper()
{
    return AfxNewControlObject<CWnd>();
}

bool AfxIsControlWrapper(const CWnd* pWnd)
{
    return dynamic_cast<const CControlObjectTag*>(pWnd) != nullptr;
}

HWND AfxCreateControl(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent,
                      UINT nID)
{
    QWidget* parentWidget = pParent ? pParent->GetClientWidget() : nullptr;
    if (!parentWidget)
        return nullptr;
    QWidget* w = AfxCreateControlWidget(lpszClassName, lpszText, dwStyle, parentWidget);
    const AFX_CONTROL_CLASS* cls = ClassOfWidget(w);
    if (!w)
    {
        // A class this layer does not know (a custom control): a plain window that a subclassing
        // object can take over.
        w = new CWndHost<QWidget>(parentWidget);
        AfxSetWidgetText(w, lpszText ? lpszText : L"");
    }
    CWnd* pWrapper = cls ? cls->pfnNewObject() : AfxNewControlWrapper();
    const HWND h = AfxNewWindowHandle();
    pWrapper->m_hWnd = h;
    CWndAccess::SetStyle(pWrapper, dwStyle | WS_CHILD);
    CWndAccess::SetCtrlID(pWrapper, nID);
    CWndAccess::SetOwnsWidget(pWrapper, true);
    AfxBindWindow(h, pWrapper, w);
    QObject::connect(w, &QObject::destroyed,
                     [h]
                     {
                         if (CWnd* p = CWnd::FromHandlePermanent(h))
                             CWndAccess::Destroy(p, true, true);
                     });
    if (cls)
        AfxConnectControl(h, w);
    w->setGeometry(rect.left, rect.top, std::max(0, AfxRectExtent(rect.left, rect.right)),
                   std::max(0, AfxRectExtent(rect.top, rect.bottom)));
    w->setEnabled(!(dwStyle & WS_DISABLED));
    w->setVisible(dwStyle & WS_VISIBLE);
    return h;
}
