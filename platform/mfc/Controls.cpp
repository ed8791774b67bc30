#include "mfc/Controls.h"

#include "mfc/FrameWnd.h"
#include "mfc/WndPrivate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>

#include <algorithm>
#include <cwctype>

namespace
{
const char kTextProperty[] = "qyr.text";
const char kStyleProperty[] = "qyr.style";

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

bool SameClass(LPCWSTR a, LPCWSTR b)
{
    if (!a || IS_INTRESOURCE(a))
        return false;
    for (; *a && *b; ++a, ++b)
    {
        if (std::towupper(wint_t(*a)) != std::towupper(wint_t(*b)))
            return false;
    }
    return *a == *b;
}

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

DWORD WidgetStyle(const QWidget* w)
{
    return DWORD(w->property(kStyleProperty).toUInt());
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

// Copies a whole string (LB_GETTEXT and CB_GETLBTEXT trust the caller's buffer, as Win32 does).
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

int CompareNoCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

// Prefix (bExact false) or whole-string search without regard to case, starting after nStart and
// going round once.
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

void Notify(HWND hWnd, WORD code)
{
    AfxQtEntry entry;
    const HWND parent = ::GetParent(hWnd);
    if (parent)
        AfxSendFromQt(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hWnd), code),
                      reinterpret_cast<LPARAM>(hWnd));
}

// Offers the keys of a control to PreTranslateMessage first.
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

CKeyFilter* KeyFilter()
{
    static QPointer<CKeyFilter> filter;
    if (!filter && QCoreApplication::instance())
        filter = new CKeyFilter(QCoreApplication::instance());
    return filter.data();
}

class CControlWrapper : public CWnd
{
public:
    CControlWrapper() = default;

protected:
    void PostNcDestroy() override { delete this; }
};

int ListInsert(QListWidget* list, int index, const QString& text)
{
    const DWORD style = WidgetStyle(list);
    if (index < 0 || index > list->count())
        index = list->count();
    if (style & LBS_SORT)
    {
        index = 0;
        while (index < list->count() && CompareNoCase(list->item(index)->text(), text) <= 0)
            ++index;
    }
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(0));
    list->insertItem(index, item);
    return index;
}

int ComboInsert(QComboBox* combo, int index, const QString& text)
{
    const DWORD style = WidgetStyle(combo);
    if (index < 0 || index > combo->count())
        index = combo->count();
    if (style & CBS_SORT)
    {
        index = 0;
        while (index < combo->count() && CompareNoCase(combo->itemText(index), text) <= 0)
            ++index;
    }
    combo->insertItem(index, text, QVariant::fromValue<qulonglong>(0));
    return index;
}

BOOL ListBoxProc(QListWidget* list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const QSignalBlocker block(list);
    const int count = list->count();
    const int index = int(wParam);
    const bool valid = index >= 0 && index < count;
    LRESULT r = LB_ERR;
    switch (message)
    {
    case LB_ADDSTRING:
        r = ListInsert(list, -1, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case LB_INSERTSTRING:
        r = ListInsert(list, index, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case LB_DELETESTRING:
        if (valid)
        {
            delete list->takeItem(index);
            r = list->count();
        }
        break;
    case LB_RESETCONTENT:
        list->clear();
        r = 0;
        break;
    case LB_GETCOUNT:
        r = count;
        break;
    case LB_GETCURSEL:
    {
        const int row = list->currentRow();
        r = (row >= 0 && row < count && list->item(row)->isSelected()) ? row : LB_ERR;
        if (r == LB_ERR && !list->selectedItems().isEmpty())
            r = list->row(list->selectedItems().front());
        break;
    }
    case LB_SETCURSEL:
        if (valid)
        {
            list->setCurrentRow(index);
            list->item(index)->setSelected(true);
            r = index;
        }
        else
        {
            list->clearSelection();
            list->setCurrentRow(-1);
        }
        break;
    case LB_GETSEL:
        r = (valid && list->item(index)->isSelected()) ? 1 : (valid ? 0 : LB_ERR);
        break;
    case LB_SETSEL:
        if (lParam == -1)
        {
            for (int i = 0; i < count; ++i)
                list->item(i)->setSelected(wParam != 0);
            r = 0;
        }
        else if (lParam >= 0 && lParam < count)
        {
            list->item(int(lParam))->setSelected(wParam != 0);
            r = 0;
        }
        break;
    case LB_GETSELCOUNT:
        r = list->selectedItems().size();
        break;
    case LB_GETSELITEMS:
    {
        auto* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < count && out && n < index; ++i)
        {
            if (list->item(i)->isSelected())
                out[n++] = i;
        }
        r = n;
        break;
    }
    case LB_GETTEXT:
        if (valid)
            r = CopyWhole(list->item(index)->text(), lParam);
        break;
    case LB_GETTEXTLEN:
        if (valid)
            r = FromQt(list->item(index)->text()).GetLength();
        break;
    case LB_GETITEMDATA:
        if (valid)
            r = LRESULT(list->item(index)->data(Qt::UserRole).toULongLong());
        break;
    case LB_SETITEMDATA:
        if (valid)
        {
            list->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(qulonglong(lParam)));
            r = LB_OKAY;
        }
        break;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
    {
        const QString find = ToQt(reinterpret_cast<LPCWSTR>(lParam));
        r = FindItem(
            count, [list](int i) { return list->item(i)->text(); }, index, find,
            message == LB_FINDSTRINGEXACT);
        if (message == LB_SELECTSTRING && r >= 0)
        {
            list->setCurrentRow(int(r));
            list->item(int(r))->setSelected(true);
        }
        break;
    }
    case LB_GETTOPINDEX:
    {
        QListWidgetItem* top = list->itemAt(QPoint(1, 1));
        r = top ? list->row(top) : 0;
        break;
    }
    case LB_SETTOPINDEX:
        if (valid)
        {
            list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
            r = 0;
        }
        break;
    default:
        return FALSE;
    }
    *pResult = r;
    return TRUE;
}

BOOL ComboBoxProc(QComboBox* combo, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
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

BOOL EditProc(QWidget* w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* line = qobject_cast<QLineEdit*>(w);
    auto* plain = qobject_cast<QPlainTextEdit*>(w);
    switch (message)
    {
    case EM_SETSEL:
    {
        const int start = int(wParam);
        const int end = int(lParam);
        if (line)
        {
            const int len = int(line->text().size());
            if (start < 0)
                line->deselect();
            else
            {
                const int s = std::min(start, len);
                const int e = (end < 0 || end > len) ? len : end;
                line->setSelection(std::min(s, e), std::abs(e - s));
            }
        }
        else if (plain)
        {
            QTextCursor c = plain->textCursor();
            const int len = int(plain->toPlainText().size());
            const int s = start < 0 ? c.position() : std::min(start, len);
            const int e = (start < 0) ? s : ((end < 0 || end > len) ? len : end);
            c.setPosition(s);
            c.setPosition(e, QTextCursor::KeepAnchor);
            plain->setTextCursor(c);
        }
        *pResult = 0;
        return TRUE;
    }
    case EM_GETSEL:
    {
        int s = 0;
        int e = 0;
        if (line)
        {
            s = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
            e = line->hasSelectedText() ? s + int(line->selectedText().size()) : s;
        }
        else if (plain)
        {
            const QTextCursor c = plain->textCursor();
            s = c.selectionStart();
            e = c.selectionEnd();
        }
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = DWORD(s);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = DWORD(e);
        *pResult = MAKELRESULT(s, e);
        return TRUE;
    }
    case EM_REPLACESEL:
    {
        const QString text = ToQt(reinterpret_cast<LPCWSTR>(lParam));
        if (line)
            line->insert(text);
        else if (plain)
            plain->insertPlainText(text);
        *pResult = 0;
        return TRUE;
    }
    case EM_LIMITTEXT:
        if (line)
            line->setMaxLength(wParam == 0 || wParam > 32767 ? 32767 : int(wParam));
        *pResult = 0;
        return TRUE;
    case EM_SETREADONLY:
        if (line)
            line->setReadOnly(wParam != 0);
        else if (plain)
            plain->setReadOnly(wParam != 0);
        *pResult = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ButtonProc(QAbstractButton* button, UINT message, WPARAM wParam, LRESULT* pResult)
{
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
} // namespace

bool AfxIsControlClass(LPCWSTR lpszClassName)
{
    return SameClass(lpszClassName, L"BUTTON") || SameClass(lpszClassName, L"EDIT") ||
           SameClass(lpszClassName, L"LISTBOX") || SameClass(lpszClassName, L"STATIC") ||
           SameClass(lpszClassName, L"COMBOBOX");
}

QWidget* AfxCreateControlWidget(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, QWidget* pParent)
{
    QWidget* w = nullptr;
    const QString text = ToQt(lpszText);
    if (SameClass(lpszClassName, L"BUTTON"))
    {
        switch (dwStyle & BS_TYPEMASK)
        {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        {
            auto* box = new QCheckBox(text, pParent);
            box->setTristate((dwStyle & BS_TYPEMASK) == BS_3STATE ||
                             (dwStyle & BS_TYPEMASK) == BS_AUTO3STATE);
            w = box;
            break;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            w = new QRadioButton(text, pParent);
            break;
        case BS_GROUPBOX:
            w = new QGroupBox(text, pParent);
            break;
        default:
        {
            auto* push = new QPushButton(text, pParent);
            if ((dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                push->setDefault(true);
            w = push;
            break;
        }
        }
    }
    else if (SameClass(lpszClassName, L"STATIC"))
    {
        auto* label = new QLabel(LabelText(text), pParent);
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
        w = label;
    }
    else if (SameClass(lpszClassName, L"EDIT"))
    {
        if (dwStyle & ES_MULTILINE)
        {
            auto* edit = new QPlainTextEdit(text, pParent);
            edit->setReadOnly(dwStyle & ES_READONLY);
            w = edit;
        }
        else
        {
            auto* edit = new QLineEdit(text, pParent);
            edit->setReadOnly(dwStyle & ES_READONLY);
            if (dwStyle & ES_PASSWORD)
                edit->setEchoMode(QLineEdit::Password);
            if (dwStyle & ES_RIGHT)
                edit->setAlignment(Qt::AlignRight);
            else if (dwStyle & ES_CENTER)
                edit->setAlignment(Qt::AlignHCenter);
            w = edit;
        }
    }
    else if (SameClass(lpszClassName, L"LISTBOX"))
    {
        auto* list = new QListWidget(pParent);
        if (dwStyle & LBS_EXTENDEDSEL)
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (dwStyle & LBS_MULTIPLESEL)
            list->setSelectionMode(QAbstractItemView::MultiSelection);
        else if (dwStyle & LBS_NOSEL)
            list->setSelectionMode(QAbstractItemView::NoSelection);
        else
            list->setSelectionMode(QAbstractItemView::SingleSelection);
        w = list;
    }
    else if (SameClass(lpszClassName, L"COMBOBOX"))
    {
        auto* combo = new QComboBox(pParent);
        combo->setEditable((dwStyle & 0x3) != CBS_DROPDOWNLIST);
        w = combo;
    }
    if (w)
    {
        w->setProperty(kStyleProperty, uint(dwStyle));
        w->setProperty(kTextProperty, text);
    }
    return w;
}

void AfxConnectControl(HWND hWnd, QWidget* pWidget)
{
    if (!pWidget)
        return;
    if (CKeyFilter* filter = KeyFilter())
        pWidget->installEventFilter(filter);
    if (auto* button = qobject_cast<QAbstractButton*>(pWidget))
    {
        QObject::connect(button, &QAbstractButton::clicked, button, [hWnd] { Notify(hWnd, BN_CLICKED); });
    }
    else if (auto* list = qobject_cast<QListWidget*>(pWidget))
    {
        QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                         [hWnd] { Notify(hWnd, LBN_SELCHANGE); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list, [hWnd] { Notify(hWnd, LBN_DBLCLK); });
    }
    else if (auto* line = qobject_cast<QLineEdit*>(pWidget))
    {
        QObject::connect(line, &QLineEdit::textChanged, line, [hWnd] { Notify(hWnd, EN_CHANGE); });
    }
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(pWidget))
    {
        QObject::connect(plain, &QPlainTextEdit::textChanged, plain, [hWnd] { Notify(hWnd, EN_CHANGE); });
    }
    else if (auto* combo = qobject_cast<QComboBox*>(pWidget))
    {
        QObject::connect(combo, &QComboBox::activated, combo, [hWnd] { Notify(hWnd, CBN_SELCHANGE); });
        if (combo->lineEdit() && KeyFilter())
            combo->lineEdit()->installEventFilter(KeyFilter());
    }
}

void AfxSetWidgetText(QWidget* pWidget, const CString& text)
{
    if (!pWidget)
        return;
    const QString t = ToQt(text);
    pWidget->setProperty(kTextProperty, t);
    if (pWidget->isWindow() || qobject_cast<QMdiSubWindow*>(pWidget))
        pWidget->setWindowTitle(t);
    else if (auto* label = qobject_cast<QLabel*>(pWidget))
        label->setText(LabelText(t));
    else if (auto* button = qobject_cast<QAbstractButton*>(pWidget))
        button->setText(t);
    else if (auto* group = qobject_cast<QGroupBox*>(pWidget))
        group->setTitle(t);
    else if (auto* line = qobject_cast<QLineEdit*>(pWidget))
        line->setText(t);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(pWidget))
        plain->setPlainText(t);
    else if (auto* combo = qobject_cast<QComboBox*>(pWidget); combo && combo->isEditable())
        combo->setEditText(t);
}

CString AfxGetWidgetText(const QWidget* pWidget)
{
    if (!pWidget)
        return CString();
    if (auto* line = qobject_cast<const QLineEdit*>(pWidget))
        return FromQt(line->text());
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(pWidget))
        return FromQt(plain->toPlainText());
    if (auto* combo = qobject_cast<const QComboBox*>(pWidget))
        return FromQt(combo->currentText());
    const QVariant v = pWidget->property(kTextProperty);
    if (v.isValid())
        return FromQt(v.toString());
    if (pWidget->isWindow())
        return FromQt(pWidget->windowTitle());
    return CString();
}

BOOL AfxControlWindowProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam,
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
    if (auto* list = qobject_cast<QListWidget*>(pWidget))
        return ListBoxProc(list, message, wParam, lParam, pResult);
    if (auto* combo = qobject_cast<QComboBox*>(pWidget))
        return ComboBoxProc(combo, message, wParam, lParam, pResult);
    if (auto* button = qobject_cast<QAbstractButton*>(pWidget))
        return ButtonProc(button, message, wParam, pResult);
    if (qobject_cast<QLineEdit*>(pWidget) || qobject_cast<QPlainTextEdit*>(pWidget))
        return EditProc(pWidget, message, wParam, lParam, pResult);
    return FALSE;
}

CWnd* AfxNewControlWrapper()
{
    return new CControlWrapper;
}
bool AfxIsControlWrapper(const CWnd* pWnd)
{
    return dynamic_cast<const CControlWrapper*>(pWnd) != nullptr;
}

HWND AfxCreateControl(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent,
                      UINT nID)
{
    QWidget* parentWidget = pParent ? pParent->GetClientWidget() : nullptr;
    if (!parentWidget)
        return nullptr;
    QWidget* w = AfxCreateControlWidget(lpszClassName, lpszText, dwStyle, parentWidget);
    const bool bControl = w != nullptr;
    if (!w)
    {
        // A class this layer does not know (a custom control): a plain window that a subclassing
        // object can take over.
        w = new CWndHost<QWidget>(parentWidget);
        AfxSetWidgetText(w, lpszText ? lpszText : L"");
    }
    CWnd* pWrapper = AfxNewControlWrapper();
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
    if (bControl)
        AfxConnectControl(h, w);
    w->setGeometry(rect.left, rect.top, std::max(0, AfxRectExtent(rect.left, rect.right)),
                   std::max(0, AfxRectExtent(rect.top, rect.bottom)));
    w->setEnabled(!(dwStyle & WS_DISABLED));
    w->setVisible(dwStyle & WS_VISIBLE);
    return h;
}

// --- Control classes -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CStatic::Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL)
{
    SendMessage(EM_SETSEL, WPARAM(nStartChar), nEndChar);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD s = 0;
    DWORD e = 0;
    ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    nStartChar = int(s);
    nEndChar = int(e);
}

void CEdit::ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, WPARAM(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::AddString(LPCWSTR lpszItem)
{
    return int(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::InsertString(int nIndex, LPCWSTR lpszItem)
{
    return int(Send(LB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex)
{
    return int(Send(LB_DELETESTRING, nIndex));
}
void CListBox::ResetContent()
{
    Send(LB_RESETCONTENT);
}
int CListBox::GetCount() const
{
    return int(Send(LB_GETCOUNT));
}
int CListBox::GetCurSel() const
{
    return int(Send(LB_GETCURSEL));
}
int CListBox::SetCurSel(int nSelect)
{
    return int(Send(LB_SETCURSEL, WPARAM(nSelect)));
}
int CListBox::GetSel(int nIndex) const
{
    return int(Send(LB_GETSEL, WPARAM(nIndex)));
}
int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return int(Send(LB_SETSEL, WPARAM(bSelect), nIndex));
}
int CListBox::GetSelCount() const
{
    return int(Send(LB_GETSELCOUNT));
}

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return int(Send(LB_GETSELITEMS, WPARAM(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}

int CListBox::GetText(int nIndex, LPWSTR lpszBuffer) const
{
    return int(Send(LB_GETTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    rString.Empty();
    const int len = GetTextLen(nIndex);
    if (len < 0)
        return;
    std::wstring buf(size_t(len) + 1, L'\0');
    const int got = GetText(nIndex, buf.data());
    buf.resize(size_t(std::clamp(got, 0, len)));
    rString = CString(std::move(buf));
}

int CListBox::GetTextLen(int nIndex) const
{
    return int(Send(LB_GETTEXTLEN, WPARAM(nIndex)));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return DWORD_PTR(Send(LB_GETITEMDATA, WPARAM(nIndex)));
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(Send(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

int CListBox::FindString(int nStartAfter, LPCWSTR lpszItem) const
{
    return int(Send(LB_FINDSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const
{
    return int(Send(LB_FINDSTRINGEXACT, WPARAM(nIndexStart), reinterpret_cast<LPARAM>(lpszFind)));
}

int CListBox::SelectString(int nStartAfter, LPCWSTR lpszItem)
{
    return int(Send(LB_SELECTSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::GetTopIndex() const
{
    return int(Send(LB_GETTOPINDEX));
}
int CListBox::SetTopIndex(int nIndex)
{
    return int(Send(LB_SETTOPINDEX, WPARAM(nIndex)));
}

// --- Control bars ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsWindowVisible())
        return 0;
    CWnd* pOwner = GetParent();
    CFrameWnd* pTarget = (pOwner && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
                             ? static_cast<CFrameWnd*>(pOwner)
                             : GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, BOOL(wParam));
    return 0;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

namespace
{
// The update of one status-bar pane.
class CStatusCmdUI : public CCmdUI
{
public:
    CStatusBar* m_pBar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const UINT style = m_pBar->GetPaneStyle(int(m_nIndex));
        m_pBar->SetPaneStyle(int(m_nIndex), bOn ? (style & ~UINT(SBPS_DISABLED)) : (style | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override
    {
        const UINT style = m_pBar->GetPaneStyle(int(m_nIndex));
        m_pBar->SetPaneStyle(int(m_nIndex), nCheck ? (style | SBPS_POPOUT) : (style & ~UINT(SBPS_POPOUT)));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn); }
    void SetText(LPCWSTR lpszText) override { m_pBar->SetPaneText(int(m_nIndex), lpszText); }
};
} // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

CStatusBar::~CStatusBar() = default;

QWidget* CStatusBar::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    if (auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr)
    {
        auto* bar = new QStatusBar(main);
        main->setStatusBar(bar);
        return bar;
    }
    return new QStatusBar(pParentWidget);
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd)
        return FALSE;
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    if (!CWnd::CreateEx(0, L"QyrStatusBar", nullptr, dwStyle | WS_CHILD, 0, rect.Height() - 20, rect.Width(),
                        20, pParentWnd->m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(nID))))
        return FALSE;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    RebuildPanes();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > 256 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    m_panes.clear();
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i)
    {
        CPane pane = {lpIDArray[i], SBPS_NORMAL, 0, CString(), nullptr};
        if (pane.nID != ID_SEPARATOR)
        {
            if (!pane.strText.LoadString(pane.nID))
                bResult = FALSE;
        }
        else if (i == 0)
            pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
        m_panes.push_back(pane);
    }
    RebuildPanes();
    return bResult;
}

void CStatusBar::RebuildPanes()
{
    auto* bar = qobject_cast<QStatusBar*>(GetWidget());
    if (!bar)
        return;
    for (QLabel* old : bar->findChildren<QLabel*>())
    {
        if (old->property("qyr.pane").isValid())
            delete old;
    }
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        CPane& pane = m_panes[i];
        pane.pLabel = new QLabel(bar);
        pane.pLabel->setProperty("qyr.pane", int(i));
        pane.pLabel->setTextFormat(Qt::PlainText);
        if (pane.nStyle & SBPS_STRETCH)
            bar->addWidget(pane.pLabel, 1);
        else
        {
            pane.pLabel->setFrameStyle((pane.nStyle & SBPS_NOBORDERS) ? QFrame::NoFrame
                                                                      : QFrame::Panel | QFrame::Sunken);
            bar->addPermanentWidget(pane.pLabel);
        }
        ShowPane(i);
    }
}

void CStatusBar::ShowPane(size_t nIndex)
{
    if (nIndex >= m_panes.size() || !GetWidget())
        return;
    CPane& pane = m_panes[nIndex];
    if (!pane.pLabel)
        return;
    const bool bDisabled = pane.nStyle & SBPS_DISABLED;
    pane.pLabel->setText(bDisabled ? QString() : ToQt(pane.strText));
    if (pane.cxWidth > 0)
        pane.pLabel->setMinimumWidth(pane.cxWidth);
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        if (m_panes[i].nID == nIDFind)
            return int(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size() || !GetWidget() || !m_panes[size_t(nIndex)].pLabel)
        return;
    const QRect r = m_panes[size_t(nIndex)].pLabel->geometry();
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return FALSE;
    m_panes[size_t(nIndex)].strText = lpszNewText ? lpszNewText : L"";
    ShowPane(size_t(nIndex));
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
    {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const CPane& pane = m_panes[size_t(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxWidth;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return;
    CPane& pane = m_panes[size_t(nIndex)];
    const bool bRebuild = (pane.nStyle & SBPS_STRETCH) != (nStyle & SBPS_STRETCH);
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxWidth = cxWidth;
    if (bRebuild)
        RebuildPanes();
    else
        ShowPane(size_t(nIndex));
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size() || m_panes[size_t(nIndex)].nStyle == nStyle)
        return;
    SetPaneInfo(nIndex, m_panes[size_t(nIndex)].nID, nStyle, m_panes[size_t(nIndex)].cxWidth);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state;
    state.m_pBar = this;
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_panes.size());
    for (size_t i = 0; i < m_panes.size() && m_hWnd; ++i)
    {
        state.m_nIndex = UINT(i);
        state.m_nID = m_panes[i].nID;
        // Status panes are never disabled for want of a handler.
        state.DoUpdate(pTarget, FALSE);
    }
}
