#include "mfc/StaticCtl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/Gdi.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

using namespace ControlPriv;

namespace
{
// The text a label shows: '&' marks a mnemonic, "&&" is an ampersand.
QString LabelText(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i)
    {
        if (raw[i] == u'&' && i + 1 < raw.size())
        {
            ++i;
            out += raw[i];
        }
        else if (raw[i] != u'&')
            out += raw[i];
    }
    return out;
}

bool IsPicture(DWORD dwStyle)
{
    const DWORD type = dwStyle & SS_TYPEMASK;
    return type == SS_BITMAP || type == SS_ICON;
}

// A picture static: the image handle it shows, and whether the control loaded (and so owns) it.
class CPictureLabel : public QLabel
{
public:
    CPictureLabel(DWORD dwStyle, QWidget* pParent) : QLabel(pParent)
    {
        setAlignment((dwStyle & SS_CENTERIMAGE) ? Qt::AlignCenter : Qt::AlignTop | Qt::AlignLeft);
        if (dwStyle & SS_SUNKEN)
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    ~CPictureLabel() override
    {
        if (m_bOwned)
            ::DeleteObject(m_hImage);
    }
    CPictureLabel(const CPictureLabel&) = delete;
    CPictureLabel& operator=(const CPictureLabel&) = delete;

    HGDIOBJ Image() const { return m_hImage; }

    // Shows hImage (null clears); the previous handle goes back to the caller.
    HGDIOBJ SetImage(HGDIOBJ hImage, bool bOwned)
    {
        HGDIOBJ previous = m_hImage;
        m_hImage = hImage;
        m_bOwned = bOwned && hImage;
        const QImage* image = AfxGetBitmapImage(hImage);
        if (image)
            setPixmap(QPixmap::fromImage(*image));
        else
            clear();
        return previous;
    }

private:
    HGDIOBJ m_hImage = nullptr;
    bool m_bOwned = false;
};

// A template's picture name: "#184" is resource 184, anything else a resource name.
HGDIOBJ LoadTemplateImage(const CString& strName, DWORD dwStyle)
{
    if (strName.IsEmpty())
        return nullptr;
    LPCWSTR name = strName;
    if (name[0] == L'#')
    {
        bool ok = false;
        const uint id = ToQt(strName).mid(1).toUInt(&ok);
        if (!ok || id > 0xFFFF)
            return nullptr;
        name = MAKEINTRESOURCE(id);
    }
    if ((dwStyle & SS_TYPEMASK) == SS_ICON)
        return ::LoadIconW(nullptr, name);
    return ::LoadBitmapW(nullptr, name);
}

QWidget* CreateStatic(const CString& strText, DWORD dwStyle, QWidget* pParent)
{
    if (IsPicture(dwStyle))
    {
        auto* picture = new CPictureLabel(dwStyle, pParent);
        picture->SetImage(LoadTemplateImage(strText, dwStyle), true);
        return picture;
    }
    auto* label = new QLabel(LabelText(ToQt(strText)), pParent);
    label->setTextFormat(Qt::PlainText);
    const DWORD type = dwStyle & SS_TYPEMASK;
    Qt::Alignment align = Qt::AlignTop | Qt::AlignLeft;
    if (type == SS_CENTER)
        align = Qt::AlignTop | Qt::AlignHCenter;
    else if (type == SS_RIGHT)
        align = Qt::AlignTop | Qt::AlignRight;
    label->setAlignment(align);
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (dwStyle & SS_SUNKEN)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

void SetStaticText(QWidget* pWidget, const CString& strText)
{
    if (dynamic_cast<CPictureLabel*>(pWidget))
        return;
    if (auto* label = qobject_cast<QLabel*>(pWidget))
        label->setText(LabelText(ToQt(strText)));
}

BOOL StaticProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* picture = dynamic_cast<CPictureLabel*>(pWidget);
    switch (message)
    {
    case STM_SETIMAGE:
    case STM_SETICON:
        // An image of another type than the control's is refused, as Win32 does.
        if (!picture || (message == STM_SETIMAGE && wParam != IMAGE_BITMAP && wParam != IMAGE_ICON))
            *pResult = 0;
        else
            *pResult = reinterpret_cast<LRESULT>(picture->SetImage(
                reinterpret_cast<HGDIOBJ>(message == STM_SETICON ? wParam : lParam), false));
        return TRUE;
    case STM_GETIMAGE:
    case STM_GETICON:
        *pResult = picture ? reinterpret_cast<LRESULT>(picture->Image()) : 0;
        return TRUE;
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS StaticClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"Static";
    cls.styleWords = {
        {L"SS_LEFT", SS_LEFT},     {L"SS_CENTER", SS_CENTER},           {L"SS_RIGHT", SS_RIGHT},
        {L"SS_ICON", SS_ICON},     {L"SS_BITMAP", SS_BITMAP},           {L"SS_NOTIFY", SS_NOTIFY},
        {L"SS_SUNKEN", SS_SUNKEN}, {L"SS_CENTERIMAGE", SS_CENTERIMAGE},
    };
    cls.keywordStyles = {
        {L"LTEXT", SS_LEFT | WS_GROUP},
        {L"RTEXT", SS_RIGHT | WS_GROUP},
        {L"CTEXT", SS_CENTER | WS_GROUP},
        {L"ICON", SS_ICON},
    };
    cls.pfnCreate = CreateStatic;
    cls.pfnSetText = SetStaticText;
    cls.pfnWindowProc = StaticProc;
    cls.pfnNewObject = &AfxNewControlObject<CStatic>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(StaticClass());
} // namespace

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(
        SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const
{
    return reinterpret_cast<HBITMAP>(const_cast<CStatic*>(this)->SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
}

HICON CStatic::SetIcon(HICON hIcon)
{
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}

HICON CStatic::GetIcon() const
{
    return reinterpret_cast<HICON>(const_cast<CStatic*>(this)->SendMessage(STM_GETICON));
}
