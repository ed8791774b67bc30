#include "mfc/ComboBoxCtl.h"

#include "mfc/ControlsPrivate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

using namespace ControlPriv;

namespace
{
QWidget* CreateComboBox(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* combo = new QComboBox(pParent);
    combo->setEditable((dwStyle & 0x3) != CBS_DROPDOWNLIST);
    // A template gives a drop-down combo the height of its opened list; the box itself keeps one
    // line's height.
    if ((dwStyle & 0x3) != CBS_SIMPLE)
        combo->setMaximumHeight(combo->sizeHint().height());
    return combo;
}

// A text put into the edit field shows its start rather than its end: a chosen entry all selected,
// a set text with the caret before it, as the edit control has them.
void ShowTextStart(QComboBox* combo, bool bSelect = true)
{
    if (QLineEdit* edit = combo->lineEdit())
    {
        edit->end(false);
        edit->home(bSelect);
    }
}

int ComboInsert(QComboBox* combo, int index, const QString& text)
{
    index = InsertPosition(
        combo->count(), index, WidgetStyle(combo) & CBS_SORT, [combo](int i) { return combo->itemText(i); },
        text);
    combo->insertItem(index, text, QVariant::fromValue<qulonglong>(0));
    return index;
}

BOOL ComboBoxProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* combo = qobject_cast<QComboBox*>(pWidget);
    if (!combo)
        return FALSE;
    const QSignalBlocker block(combo);
    const int count = combo->count();
    const int index = int(wParam);
    const bool valid = index >= 0 && index < count;
    LRESULT r = CB_ERR;
    switch (message)
    {
    case CB_SHOWDROPDOWN:
        if (wParam)
            combo->showPopup();
        else
            combo->hidePopup();
        r = TRUE;
        break;
    case CB_GETDROPPEDSTATE:
        r = combo->view() && combo->view()->isVisible() ? TRUE : FALSE;
        break;
    case CB_ADDSTRING:
        r = ComboInsert(combo, -1, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case CB_INSERTSTRING:
        r = ComboInsert(combo, index, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case CB_DELETESTRING:
        if (valid)
        {
            combo->removeItem(index);
            r = combo->count();
        }
        break;
    case CB_RESETCONTENT:
        combo->clear();
        r = CB_OKAY;
        break;
    case CB_GETCOUNT:
        r = count;
        break;
    case CB_GETCURSEL:
        r = combo->currentIndex();
        break;
    case CB_SETCURSEL:
        combo->setCurrentIndex(valid ? index : -1);
        ShowTextStart(combo);
        r = valid ? index : CB_ERR;
        break;
    case CB_GETLBTEXT:
        if (valid)
            r = CopyWhole(combo->itemText(index), lParam);
        break;
    case CB_GETLBTEXTLEN:
        if (valid)
            r = FromQt(combo->itemText(index)).GetLength();
        break;
    case CB_GETITEMDATA:
        if (valid)
            r = LRESULT(combo->itemData(index).toULongLong());
        break;
    case CB_SETITEMDATA:
        if (valid)
        {
            combo->setItemData(index, QVariant::fromValue<qulonglong>(qulonglong(lParam)));
            r = CB_OKAY;
        }
        break;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    {
        const QString find = ToQt(reinterpret_cast<LPCWSTR>(lParam));
        r = FindItem(
            count, [combo](int i) { return combo->itemText(i); }, index, find, message == CB_FINDSTRINGEXACT);
        if (message == CB_SELECTSTRING && r >= 0)
        {
            combo->setCurrentIndex(int(r));
            ShowTextStart(combo);
        }
        break;
    }
    default:
        return FALSE;
    }
    *pResult = r;
    return TRUE;
}

void ConnectComboBox(HWND hWnd, QWidget* pWidget)
{
    auto* combo = qobject_cast<QComboBox*>(pWidget);
    if (!combo)
        return;
    QObject::connect(combo, &QComboBox::activated, combo, [hWnd] { AfxNotifyParent(hWnd, CBN_SELCHANGE); });
    if (combo->lineEdit())
        FilterKeys(combo->lineEdit());
}

void SetComboBoxText(QWidget* pWidget, const CString& strText)
{
    if (auto* combo = qobject_cast<QComboBox*>(pWidget); combo && combo->isEditable())
    {
        combo->setEditText(ToQt(strText));
        ShowTextStart(combo, false);
    }
}

BOOL GetComboBoxText(const QWidget* pWidget, CString& rText)
{
    auto* combo = qobject_cast<const QComboBox*>(pWidget);
    if (!combo)
        return FALSE;
    rText = FromQt(combo->currentText());
    return TRUE;
}

AFX_CONTROL_CLASS ComboBoxClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"ComboBox";
    cls.styleWords = {
        {L"CBS_SIMPLE", CBS_SIMPLE},
        {L"CBS_DROPDOWN", CBS_DROPDOWN},
        {L"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
        {L"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL},
        {L"CBS_SORT", CBS_SORT},
        {L"CBS_HASSTRINGS", CBS_HASSTRINGS},
    };
    cls.keywordStyles = {{L"COMBOBOX", CBS_SIMPLE | WS_TABSTOP}};
    cls.dwTypeMask = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST;
    cls.pfnCreate = CreateComboBox;
    cls.pfnConnect = ConnectComboBox;
    cls.pfnWindowProc = ComboBoxProc;
    cls.pfnSetText = SetComboBoxText;
    cls.pfnGetText = GetComboBoxText;
    cls.pfnNewObject = &AfxNewControlObject<CComboBox>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ComboBoxClass());
} // namespace

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CComboBox::AddString(LPCWSTR lpszString)
{
    return int(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::InsertString(int nIndex, LPCWSTR lpszString)
{
    return int(Send(CB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::DeleteString(UINT nIndex)
{
    return int(Send(CB_DELETESTRING, nIndex));
}

void CComboBox::ResetContent()
{
    Send(CB_RESETCONTENT);
}

int CComboBox::GetCount() const
{
    return int(Send(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const
{
    return int(Send(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect)
{
    return int(Send(CB_SETCURSEL, WPARAM(nSelect)));
}

int CComboBox::GetLBText(int nIndex, LPWSTR lpszText) const
{
    return int(Send(CB_GETLBTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    rString.Empty();
    const int len = GetLBTextLen(nIndex);
    if (len < 0)
        return;
    std::wstring buf(size_t(len) + 1, L'\0');
    const int got = GetLBText(nIndex, buf.data());
    buf.resize(size_t(std::clamp(got, 0, len)));
    rString = CString(std::move(buf));
}

int CComboBox::GetLBTextLen(int nIndex) const
{
    return int(Send(CB_GETLBTEXTLEN, WPARAM(nIndex)));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return DWORD_PTR(Send(CB_GETITEMDATA, WPARAM(nIndex)));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(Send(CB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

int CComboBox::FindString(int nStartAfter, LPCWSTR lpszString) const
{
    return int(Send(CB_FINDSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const
{
    return int(Send(CB_FINDSTRINGEXACT, WPARAM(nIndexStart), reinterpret_cast<LPARAM>(lpszFind)));
}

int CComboBox::SelectString(int nStartAfter, LPCWSTR lpszString)
{
    return int(Send(CB_SELECTSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszString)));
}
