#include "mfc/ComboBoxCtl.h"

#include "mfc/ControlsPrivate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace ControlPriv;

namespace
{
QWidget* CreateComboBox(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* combo = new QComboBox(pParent);
    combo->setEditable((dwStyle & 0x3) != CBS_DROPDOWNLIST);
    return combo;
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
            combo->setCurrentIndex(int(r));
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
        combo->setEditText(ToQt(strText));
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
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ComboBoxClass());
} // namespace
