// The registry of control classes: a window class name, as a dialog template or CWnd::Create names
// it ("Button", "Edit", "SysListView32", ...), mapped to how its widget is made, how it answers its
// messages in DefWindowProc, how it notifies its parent and which MFC class stands for it. Each
// control family registers itself from its own file (ButtonCtl.cpp, EditCtl.cpp, ...), so a new
// family is added in one place.
//
// Names compare without regard to case. Registering a name again replaces the class for controls
// made from then on; controls made before keep the entry they were made with (entries live as long
// as the process, so a control's entry never dangles).
#pragma once

#include "mfc/Wnd.h"

#include <functional>
#include <utility>
#include <vector>

class QObject;
class QWidget;

// Tells the objects the framework makes for the controls it creates from those of the application.
class CControlObjectTag
{
public:
    virtual ~CControlObjectTag() = default;
};

// The object the framework makes for a control it creates (dialog templates): of the family's MFC
// class, so GetDlgItem(id)->IsKindOf(RUNTIME_CLASS(CButton)) holds; it deletes itself when the
// control is destroyed or an object of the application subclasses the control.
template <class TWnd> class CControlObject final : public TWnd, public CControlObjectTag
{
public:
    void PostNcDestroy() override { delete this; }
};

template <class TWnd> CWnd* AfxNewControlObject()
{
    return new CControlObject<TWnd>;
}

struct AFX_CONTROL_CLASS
{
    CString strClassName;
    // The style words that resource scripts write for the family (names are unique across
    // families), and the default style of each script keyword that makes it (LTEXT, PUSHBUTTON).
    std::vector<std::pair<CString, DWORD>> styleWords;
    std::vector<std::pair<CString, DWORD>> keywordStyles;
    // The style bits that say which kind of the family a control is (CBS_SIMPLE..CBS_DROPDOWNLIST).
    DWORD dwTypeMask = 0;
    // Makes the widget for a text and style under pParent; required.
    std::function<QWidget*(const CString& strText, DWORD dwStyle, QWidget* pParent)> pfnCreate;
    // Connects the widget's notifications (WM_COMMAND to the parent, see AfxNotifyParent).
    std::function<void(HWND hWnd, QWidget* pWidget)> pfnConnect;
    // The default processing of the family's messages; FALSE for a message that is not one.
    std::function<BOOL(HWND hWnd, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* pResult)>
        pfnWindowProc;
    // Shows a new window text; without it the text is only kept.
    std::function<void(QWidget* pWidget, const CString& strText)> pfnSetText;
    // Reads the text a person may have changed; FALSE leaves it to the kept text.
    std::function<BOOL(const QWidget* pWidget, CString& rText)> pfnGetText;
    // The object made for a control created from a dialog template.
    CWnd* (*pfnNewObject)() = &AfxNewControlObject<CWnd>;
    // Called for each control of this class that a dialog template makes, in template order.
    // pRun is what the previous control left (null after a control of a class without this call);
    // radio buttons use it to group a run of buttons.
    std::function<void(HWND hWnd, DWORD dwStyle, QObject*& pRun)> pfnFollowInTemplate;
};

// FALSE when the name is empty or there is no pfnCreate.
BOOL AfxRegisterControlClass(AFX_CONTROL_CLASS cls);
// Null when no class of that name is registered.
const AFX_CONTROL_CLASS* AfxFindControlClass(LPCWSTR lpszClassName);
// The value of a style word of any registered family; FALSE when no family has it.
BOOL AfxControlStyleWord(LPCWSTR lpszWord, DWORD* pdwBits);
// Sends WM_COMMAND with a notification code from a control to its parent.
void AfxNotifyParent(HWND hWnd, WORD wNotifyCode);
