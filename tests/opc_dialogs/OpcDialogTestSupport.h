// Shared set-up of the OPC dialog tests: the Qt application, the stand-in servers reset, the real
// dialogs registered, and a modal hook that works the dialog shown and answers message boxes.
#pragma once

#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/OPCDialogs.h"

#include "logvane/Logvane.h"
#include "mfc/Dialog.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "opcsdk/Opc.h"
#include "support/ModalHook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace opcdlgtest
{
template <class T> T* Widget(CDialog* dlg, int nID)
{
    CWnd* p = dlg ? dlg->GetDlgItem(nID) : nullptr;
    return p ? qobject_cast<T*>(p->GetWidget()) : nullptr;
}

inline CString Text(CDialog* dlg, int nID)
{
    CString text;
    dlg->GetDlgItemText(nID, text);
    return text;
}

inline void Type(CDialog* dlg, int nID, const QString& text)
{
    QLineEdit* edit = Widget<QLineEdit>(dlg, nID);
    ASSERT_NE(edit, nullptr) << nID;
    edit->setText(text);
}

inline void Click(CDialog* dlg, int nID)
{
    QAbstractButton* button = Widget<QAbstractButton>(dlg, nID);
    ASSERT_NE(button, nullptr) << nID;
    button->click();
}

inline std::vector<std::wstring> Lines(CDialog* dlg, int nID)
{
    std::vector<std::wstring> lines;
    if (QListWidget* list = Widget<QListWidget>(dlg, nID))
    {
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->item(i)->text().toStdWString());
    }
    return lines;
}

// The dialog's picture, kept for a person to look at.
inline void Shoot(CDialog* dlg, const char* name)
{
    QDir().mkpath(QYR_SHOT_DIR);
    const QImage image = dlg->GetWidget()->grab().toImage();
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QString(QYR_SHOT_DIR) + "/" + name + ".png"));
}

inline bool StillOpen(CDialog* dlg)
{
    return dlg && ::IsWindow(dlg->m_hWnd) && dlg->GetWidget()->isVisible();
}

class OpcDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        OpcStandInServers_Register();
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(5);
        Logvane_ClearCaptured();
        COPCDialogs::RegisterDialogs();
        m_hook = std::make_unique<CModalHookScope>(
            [this](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::Dialog)
                {
                    m_boxes.push_back(r.strText.str());
                    return IDOK;
                }
                ++m_dialogs;
                return m_work ? m_work(r.pDialog) : IDCANCEL;
            });
    }

    void TearDown() override
    {
        m_hook.reset();
        for (auto* clear :
             {+[] { COPCDialogs::SetGroupDialog({}); }, +[] { COPCDialogs::SetItemDialog({}); },
              +[] { COPCDialogs::SetConnectDialog({}); }, +[] { COPCDialogs::SetAddItemDialog({}); },
              +[] { COPCDialogs::SetStatusDialog({}); }, +[] { COPCDialogs::SetBrowseDialog({}); },
              +[] { COPCDialogs::SetPickTagDialog({}); }})
            clear();
        while (CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(FALSE))
            RemoveExplorerActiveDocument(doc);
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(1000);
    }

    // The explorer document's server, named after the stand-in.
    static CInfoServer* ExplorerServer(LPCWSTR progId = QUENDREL_OPCDASERVER_PROGID)
    {
        CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(TRUE);
        CInfoServer* server = doc ? doc->GetInfoServer() : nullptr;
        if (server)
        {
            EXPECT_TRUE(server->SetServer(L"", progId));
        }
        return server;
    }

    std::function<int(CDialog*)> m_work;
    std::vector<std::wstring> m_boxes;
    int m_dialogs = 0;
    std::unique_ptr<CModalHookScope> m_hook;
};
} // namespace opcdlgtest
