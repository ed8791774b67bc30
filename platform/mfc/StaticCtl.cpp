#include "mfc/StaticCtl.h"

#include "mfc/ControlsPrivate.h"

#include <QLabel>

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

QWidget* CreateStatic(const CString& strText, DWORD dwStyle, QWidget* pParent)
{
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
    if (auto* label = qobject_cast<QLabel*>(pWidget))
        label->setText(LabelText(ToQt(strText)));
}

AFX_CONTROL_CLASS StaticClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"Static";
    cls.styleWords = {
        {L"SS_LEFT", SS_LEFT},     {L"SS_CENTER", SS_CENTER}, {L"SS_RIGHT", SS_RIGHT},
        {L"SS_ICON", SS_ICON},     {L"SS_BITMAP", SS_BITMAP}, {L"SS_NOTIFY", SS_NOTIFY},
        {L"SS_SUNKEN", SS_SUNKEN},
    };
    cls.keywordStyles = {
        {L"LTEXT", SS_LEFT | WS_GROUP},
        {L"RTEXT", SS_RIGHT | WS_GROUP},
        {L"CTEXT", SS_CENTER | WS_GROUP},
        {L"ICON", SS_ICON},
    };
    cls.pfnCreate = CreateStatic;
    cls.pfnSetText = SetStaticText;
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
