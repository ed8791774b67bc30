#include "mfc/ButtonCtl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/WndPrivate.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace ControlPriv;

namespace
{
QWidget* CreateButton(const CString& strText, DWORD dwStyle, QWidget* pParent)
{
    const QString text = ToQt(strText);
    switch (dwStyle & BS_TYPEMASK)
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    {
        auto* box = new QCheckBox(text, pParent);
        box->setTristate((dwStyle & BS_TYPEMASK) == BS_3STATE || (dwStyle & BS_TYPEMASK) == BS_AUTO3STATE);
        return box;
    }
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return new QRadioButton(text, pParent);
    case BS_GROUPBOX:
        return new QGroupBox(text, pParent);
    default:
    {
        auto* push = new QPushButton(text, pParent);
        if ((dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            push->setDefault(true);
        return push;
    }
    }
}

BOOL ButtonProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    auto* button = qobject_cast<QAbstractButton*>(pWidget);
    if (!button)
        return FALSE; // a group box
    switch (message)
    {
    case BM_GETCHECK:
        if (auto* box = qobject_cast<QCheckBox*>(button))
            *pResult = box->checkState() == Qt::Checked            ? BST_CHECKED
                       : box->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                                   : BST_UNCHECKED;
        else
            *pResult = button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        return TRUE;
    case BM_SETCHECK:
    {
        const QSignalBlocker block(button);
        if (auto* box = qobject_cast<QCheckBox*>(button))
        {
            if (wParam == BST_INDETERMINATE)
                box->setTristate(true);
            box->setCheckState(wParam == BST_CHECKED         ? Qt::Checked
                               : wParam == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                             : Qt::Unchecked);
        }
        else if (button->isCheckable())
            button->setChecked(wParam == BST_CHECKED);
        *pResult = 0;
        return TRUE;
    }
    case BM_GETSTATE:
        *pResult = (button->isChecked() ? BST_CHECKED : 0) | (button->isDown() ? 0x0004 : 0) |
                   (button->hasFocus() ? 0x0008 : 0);
        return TRUE;
    case BM_SETSTATE:
        button->setDown(wParam != 0);
        *pResult = 0;
        return TRUE;
    case BM_CLICK:
        button->click();
        *pResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

void ConnectButton(HWND hWnd, QWidget* pWidget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(pWidget))
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [hWnd] { AfxNotifyParent(hWnd, BN_CLICKED); });
}

void SetButtonText(QWidget* pWidget, const CString& strText)
{
    if (auto* button = qobject_cast<QAbstractButton*>(pWidget))
        button->setText(ToQt(strText));
    else if (auto* group = qobject_cast<QGroupBox*>(pWidget))
        group->setTitle(ToQt(strText));
}

// Radio buttons group from one with WS_GROUP (or the first of a run) to the next.
void GroupRadios(HWND hWnd, DWORD dwStyle, QObject*& pRun)
{
    auto* radio = qobject_cast<QAbstractButton*>(AfxWidgetFromHandle(hWnd));
    const DWORD type = dwStyle & BS_TYPEMASK;
    if (!radio || (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON))
    {
        pRun = nullptr;
        return;
    }
    auto* group = qobject_cast<QButtonGroup*>(pRun);
    if (!group || (dwStyle & WS_GROUP))
        group = new QButtonGroup(radio->parentWidget());
    group->addButton(radio);
    pRun = group;
}

AFX_CONTROL_CLASS ButtonClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"Button";
    cls.styleWords = {
        {L"BS_PUSHBUTTON", BS_PUSHBUTTON},
        {L"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
        {L"BS_CHECKBOX", BS_CHECKBOX},
        {L"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
        {L"BS_RADIOBUTTON", BS_RADIOBUTTON},
        {L"BS_3STATE", BS_3STATE},
        {L"BS_AUTO3STATE", BS_AUTO3STATE},
        {L"BS_GROUPBOX", BS_GROUPBOX},
        {L"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
    };
    cls.keywordStyles = {
        {L"PUSHBUTTON", BS_PUSHBUTTON | WS_TABSTOP},     {L"DEFPUSHBUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP},
        {L"PUSHBOX", BS_PUSHBUTTON | WS_TABSTOP},        {L"CHECKBOX", BS_CHECKBOX | WS_TABSTOP},
        {L"AUTOCHECKBOX", BS_AUTOCHECKBOX | WS_TABSTOP}, {L"STATE3", BS_3STATE | WS_TABSTOP},
        {L"AUTO3STATE", BS_AUTO3STATE | WS_TABSTOP},     {L"RADIOBUTTON", BS_RADIOBUTTON},
        {L"AUTORADIOBUTTON", BS_AUTORADIOBUTTON},        {L"GROUPBOX", BS_GROUPBOX},
    };
    cls.pfnCreate = CreateButton;
    cls.pfnConnect = ConnectButton;
    cls.pfnWindowProc = ButtonProc;
    cls.pfnSetText = SetButtonText;
    cls.pfnNewObject = &AfxNewControlObject<CButton>;
    cls.pfnFollowInTemplate = GroupRadios;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ButtonClass());
} // namespace

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
