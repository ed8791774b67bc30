// The event, chooser and settings dialogs in the design view's world: a project folder with screens
// and scripts, a screen open in the design view, and a modal hook that answers the dialogs in the
// order they open, records the message boxes and answers file dialogs.
#pragma once

#include "EditorTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/ListBoxCtl.h"
#include "support/Printers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <deque>
#include <fstream>
#include <functional>

namespace eventstest
{
using Answer = std::function<int(CDialog&)>;

template <class T> T* Widget(CDialog& dlg, int nID)
{
    CWnd* p = dlg.GetDlgItem(nID);
    return p ? qobject_cast<T*>(p->GetWidget()) : nullptr;
}

inline CString Text(CDialog& dlg, int nID)
{
    CString text;
    dlg.GetDlgItemText(nID, text);
    return text;
}

inline void Type(CDialog& dlg, int nID, const CString& text)
{
    QLineEdit* edit = Widget<QLineEdit>(dlg, nID);
    ASSERT_NE(edit, nullptr) << nID;
    edit->setText(QString::fromStdWString(text.GetString()));
}

inline void Press(CDialog& dlg, int nID)
{
    QAbstractButton* button = Widget<QAbstractButton>(dlg, nID);
    ASSERT_NE(button, nullptr) << nID;
    button->click();
}

// Chooses the row of a list box by its text, as a click does (the list tells its dialog).
inline void Choose(CDialog& dlg, int nID, const CString& text)
{
    QListWidget* list = Widget<QListWidget>(dlg, nID);
    ASSERT_NE(list, nullptr) << nID;
    const auto found = list->findItems(QString::fromStdWString(text.GetString()), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.str();
    list->setCurrentItem(found.front());
}

inline BOOL Enabled(CDialog& dlg, int nID)
{
    CWnd* p = dlg.GetDlgItem(nID);
    return p && p->IsWindowEnabled();
}

// Whether the control has the dialog's focus (the one it gets when the dialog is active).
inline BOOL HasFocus(CDialog& dlg, int nID)
{
    CWnd* ctrl = dlg.GetDlgItem(nID);
    QWidget* focus = dlg.GetWidget()->focusWidget();
    return ctrl && focus && (focus == ctrl->GetWidget() || ctrl->GetWidget()->isAncestorOf(focus));
}

inline std::vector<CString> Rows(CListBox& list)
{
    std::vector<CString> rows;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        CString s;
        list.GetText(i, s);
        rows.push_back(s);
    }
    return rows;
}

// Answers the dialogs in the order they open; a dialog without an answer is cancelled. Message
// boxes are recorded and answered with OK, file dialogs with the next path (cancelled without).
class CModalScript
{
public:
    CModalScript()
        : m_scope(
              [this](const AfxModalRequest& r) -> int
              {
                  switch (r.kind)
                  {
                  case AfxModalKind::MessageBox:
                      messages.push_back(r.strText);
                      return IDOK;
                  case AfxModalKind::FileDialog:
                      filters.push_back(r.strFilter);
                      if (files.empty())
                          return IDCANCEL;
                      r.paths.push_back(files.front());
                      files.pop_front();
                      return IDOK;
                  case AfxModalKind::Dialog:
                  {
                      ++opened;
                      if (dialogs.empty() || !r.pDialog)
                          return IDCANCEL;
                      Answer answer = std::move(dialogs.front());
                      dialogs.pop_front();
                      return answer(*r.pDialog);
                  }
                  default:
                      return IDCANCEL;
                  }
              })
    {
    }
    CModalScript& Then(Answer answer)
    {
        dialogs.push_back(std::move(answer));
        return *this;
    }

    std::deque<Answer> dialogs;
    std::deque<CString> files;
    std::vector<CString> messages;
    std::vector<CString> filters;
    int opened = 0;

private:
    CModalHookScope m_scope;
};

// The design view's fixture with a project folder ("proj/") that holds screens and scripts.
class CEventsTest : public editortest::CDesignTest
{
protected:
    void SetUp() override
    {
        CDesignTest::SetUp();
        m_project = m_dir + "/proj/";
        std::filesystem::create_directories(m_project + "XdgFiles");
        std::filesystem::create_directories(m_project + "ScriptFiles");
        m_app.projectLoaded = TRUE;
        m_app.projectFolder = CString::FromUtf8(m_project);
    }

    void WriteBytes(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream(m_project + relative, std::ios::binary) << bytes;
    }
    // A UTF-16 script with its byte-order mark.
    void WriteUtf16Script(const std::string& name, const std::u16string& text) const
    {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text)
        {
            bytes.push_back(char(c & 0xFF));
            bytes.push_back(char(c >> 8));
        }
        WriteBytes("ScriptFiles/" + name, bytes);
    }
    std::string ReadBytes(const std::string& relative) const
    {
        std::ifstream in(m_project + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A rectangle shape named and keyed, added to the view's screen.
    static CFODrawShape* AddShape(CQYRDrawView* view, const CString& name, const CString& key1,
                                  UINT type = 601, CRect rc = CRect(20, 20, 80, 60))
    {
        CMyExtDataModel* model = view->GetEditModel();
        CFODrawShape* shape = model->DoCreateShapeByType(type, rc, L"");
        if (!shape)
            return nullptr;
        shape->SetObjectName(name);
        shape->SetKeyId1(key1);
        model->InsertShape(shape);
        // The model holds its own reference now.
        shape->Release();
        return shape;
    }

    std::string m_project;
};
} // namespace eventstest
