// Binding a shape as an engineer does: the shape selected alone, the design view's "Key Value(&S)..."
// command, and its dialog answered through the modal hook with the name and keys typed in.
#pragma once

#include "behaviour/KeyValueDlg.h"
#include "editor/PlexdraftView.h"
#include "figkit/FODrawShape.h"
#include "support/ModalHook.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace behaviourtest
{
struct KeyValues
{
    // Typed only when not empty: the object name the shape keeps otherwise.
    CString strName;
    CString strServer;
    CString strItem;
};

inline ::testing::AssertionResult BindThroughKeyValues(CQYRDrawView* view, CFODrawShape* shape,
                                                       const KeyValues& keys)
{
    view->ClearSelection();
    view->SelectShape(shape);
    int opened = 0;
    int messages = 0;
    bool typed = true;
    CModalHookScope hook(
        [&](const AfxModalRequest& r) -> int
        {
            if (r.kind == AfxModalKind::MessageBox)
                ++messages;
            if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                return IDCANCEL;
            ++opened;
            const auto type = [&](int nID, const CString& text)
            {
                CWnd* edit = r.pDialog->GetDlgItem(nID);
                auto* line = edit ? qobject_cast<QLineEdit*>(edit->GetWidget()) : nullptr;
                if (!line)
                {
                    typed = false;
                    return;
                }
                line->setText(QString::fromStdWString(text.GetString()));
            };
            if (!keys.strName.IsEmpty())
                type(IDC_KEY_NAME, keys.strName);
            type(IDC_KEY_SERVER, keys.strServer);
            type(IDC_KEY_ITEM, keys.strItem);
            return IDOK;
        });
    view->SendMessage(WM_COMMAND, 41300, 0);
    if (opened != 1 || !typed || messages != 0)
        return ::testing::AssertionFailure()
               << "Key Values opened " << opened << " times, " << (typed ? "" : "missing its edits, ")
               << messages << " messages";
    if (shape->GetKeyId2() != keys.strServer || shape->GetKeyId3() != keys.strItem)
        return ::testing::AssertionFailure()
               << "bound to " << shape->GetKeyId2().ToUtf8() << " / " << shape->GetKeyId3().ToUtf8();
    if (!keys.strName.IsEmpty() && shape->GetObjectName() != keys.strName)
        return ::testing::AssertionFailure() << "named " << shape->GetObjectName().ToUtf8();
    return ::testing::AssertionSuccess();
}
} // namespace behaviourtest
