#include "mfc/EditCtl.h"

#include "mfc/ControlsPrivate.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

using namespace ControlPriv;

namespace
{
QWidget* CreateEdit(const CString& strText, DWORD dwStyle, QWidget* pParent)
{
    const QString text = ToQt(strText);
    if (dwStyle & ES_MULTILINE)
    {
        auto* edit = new QPlainTextEdit(text, pParent);
        edit->setReadOnly(dwStyle & ES_READONLY);
        return edit;
    }
    auto* edit = new QLineEdit(text, pParent);
    edit->setReadOnly(dwStyle & ES_READONLY);
    if (dwStyle & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (dwStyle & ES_RIGHT)
        edit->setAlignment(Qt::AlignRight);
    else if (dwStyle & ES_CENTER)
        edit->setAlignment(Qt::AlignHCenter);
    return edit;
}

BOOL EditProc(HWND, QWidget* w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
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
    case EM_GETMODIFY:
        *pResult = line ? LRESULT(line->isModified()) : plain ? LRESULT(plain->document()->isModified()) : 0;
        return TRUE;
    case EM_SETMODIFY:
        if (line)
            line->setModified(wParam != 0);
        else if (plain)
            plain->document()->setModified(wParam != 0);
        *pResult = 0;
        return TRUE;
    case EM_CANUNDO:
        *pResult = line    ? LRESULT(line->isUndoAvailable())
                   : plain ? LRESULT(plain->document()->isUndoAvailable())
                           : 0;
        return TRUE;
    case EM_UNDO:
    case WM_UNDO:
        *pResult = FALSE;
        if (line && line->isUndoAvailable())
        {
            line->undo();
            *pResult = TRUE;
        }
        else if (plain && plain->document()->isUndoAvailable())
        {
            plain->undo();
            *pResult = TRUE;
        }
        return TRUE;
    case EM_EMPTYUNDOBUFFER:
        if (line)
        {
            // A new text forgets the history; the flag, caret and selection are put back.
            const bool modified = line->isModified();
            const int start = line->selectionStart();
            const int length = int(line->selectedText().size());
            const int caret = line->cursorPosition();
            line->setText(line->text());
            line->setModified(modified);
            if (start >= 0 && length > 0)
                line->setSelection(caret == start ? start + length : start,
                                   caret == start ? -length : length);
            else
                line->setCursorPosition(caret);
        }
        else if (plain)
            plain->document()->clearUndoRedoStacks();
        *pResult = 0;
        return TRUE;
    case EM_POSFROMCHAR:
    {
        *pResult = -1;
        if (!line)
            return TRUE;
        const QString text = line->text();
        const int n = int(wParam);
        if (n < 0 || n > text.size())
            return TRUE;
        // The text's left edge inside the frame, then the advance of the characters before.
        const QRect cr = line->contentsRect();
        const QMargins m = line->textMargins();
        const QFontMetrics fm(line->font());
        const int x = cr.left() + m.left() + 2 + fm.horizontalAdvance(text.left(n));
        const int y = cr.top() + m.top() + std::max(0, (cr.height() - fm.height()) / 2);
        *pResult = MAKELRESULT(WORD(x), WORD(y));
        return TRUE;
    }
    case EM_CHARFROMPOS:
    {
        *pResult = 0;
        if (!line)
            return TRUE;
        const QString text = line->text();
        const int x = GET_X_LPARAM(lParam);
        const QFontMetrics fm(line->font());
        const int left = line->contentsRect().left() + line->textMargins().left() + 2;
        int best = 0;
        for (int i = 0; i <= text.size(); ++i)
            if (std::abs(left + fm.horizontalAdvance(text.left(i)) - x) <
                std::abs(left + fm.horizontalAdvance(text.left(best)) - x))
                best = i;
        *pResult = best;
        return TRUE;
    }
    case WM_CUT:
        if (line)
            line->cut();
        else if (plain)
            plain->cut();
        *pResult = 0;
        return TRUE;
    case WM_COPY:
        if (line)
            line->copy();
        else if (plain)
            plain->copy();
        *pResult = 0;
        return TRUE;
    case WM_PASTE:
        if (line)
            line->paste();
        else if (plain)
            plain->paste();
        *pResult = 0;
        return TRUE;
    case WM_CLEAR:
        if (line)
            line->del();
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

void ConnectEdit(HWND hWnd, QWidget* pWidget)
{
    if (auto* line = qobject_cast<QLineEdit*>(pWidget))
        QObject::connect(line, &QLineEdit::textChanged, line, [hWnd] { AfxNotifyParent(hWnd, EN_CHANGE); });
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(pWidget))
        QObject::connect(plain, &QPlainTextEdit::textChanged, plain,
                         [hWnd] { AfxNotifyParent(hWnd, EN_CHANGE); });
}

void SetEditText(QWidget* pWidget, const CString& strText)
{
    if (auto* line = qobject_cast<QLineEdit*>(pWidget))
        line->setText(ToQt(strText));
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(pWidget))
    {
        // Lines broken with "\r\n" come back so, with the lines typed since: the text read equals
        // the text given.
        QString text = ToQt(strText);
        plain->setProperty("qyrCrLf", text.contains(QStringLiteral("\r\n")));
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        plain->setPlainText(text);
    }
}

BOOL GetEditText(const QWidget* pWidget, CString& rText)
{
    if (auto* line = qobject_cast<const QLineEdit*>(pWidget))
        rText = FromQt(line->text());
    else if (auto* plain = qobject_cast<const QPlainTextEdit*>(pWidget))
    {
        QString text = plain->toPlainText();
        if (plain->property("qyrCrLf").toBool())
            text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        rText = FromQt(text);
    }
    else
        return FALSE;
    return TRUE;
}

AFX_CONTROL_CLASS EditClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"Edit";
    cls.styleWords = {
        {L"ES_LEFT", ES_LEFT},
        {L"ES_CENTER", ES_CENTER},
        {L"ES_RIGHT", ES_RIGHT},
        {L"ES_MULTILINE", ES_MULTILINE},
        {L"ES_UPPERCASE", ES_UPPERCASE},
        {L"ES_LOWERCASE", ES_LOWERCASE},
        {L"ES_PASSWORD", ES_PASSWORD},
        {L"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
        {L"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
        {L"ES_NOHIDESEL", ES_NOHIDESEL},
        {L"ES_READONLY", ES_READONLY},
        {L"ES_WANTRETURN", ES_WANTRETURN},
        {L"ES_NUMBER", ES_NUMBER},
    };
    cls.keywordStyles = {{L"EDITTEXT", ES_LEFT | WS_BORDER | WS_TABSTOP}};
    cls.pfnCreate = CreateEdit;
    cls.pfnConnect = ConnectEdit;
    cls.pfnWindowProc = EditProc;
    cls.pfnSetText = SetEditText;
    cls.pfnGetText = GetEditText;
    cls.pfnNewObject = &AfxNewControlObject<CEdit>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(EditClass());
} // namespace

IMPLEMENT_DYNAMIC(CEdit, CWnd)

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

CPoint CEdit::PosFromChar(UINT nChar) const
{
    const LRESULT r = Send(EM_POSFROMCHAR, WPARAM(nChar));
    if (r == -1)
        return CPoint(-1, -1);
    return CPoint(short(LOWORD(r)), short(HIWORD(r)));
}

int CEdit::CharFromPos(CPoint pt) const
{
    return int(LOWORD(Send(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y))));
}

void CEdit::ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, WPARAM(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}
