// A label's text through the editor's own frame: dropped on a project's screen, typed on the
// canvas, changed in the Text dialog, saved with the frame's Save command and read back. With
// QYR_LABEL_SCREEN set, the saved screen is copied there for the player's half of the test.
#include "EditorAppSupport.h"

#include "figkit/FOPSimpleLabelShape.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

using namespace edapp_test;

namespace
{
void SendKey(QWidget* w, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}
} // namespace

TEST(EditorLabelText, ADroppedLabelIsTypedInPlaceAndInTheTextDialogSavedAndReadBack)
{
    InstallRoot root;
    root.AddProject("Plant", {"Main.xdg"});
    {
        DrawApp maker(root, {});
        ASSERT_TRUE(maker.Start());
        ASSERT_TRUE(WriteScreen(maker.app, root.ProjectFolder("Plant") + "/XdgFiles/Main.xdg", 1));
    }
    const QString screen = root.ProjectFolder("Plant") + "/XdgFiles/Main.xdg";
    DrawApp draw(root, {root.ProjectFile("Plant").toStdString()});
    ASSERT_TRUE(draw.Start());
    draw.Frame()->MoveWindow(0, 0, 1200, 800);
    AfxPumpMessages();
    MessageLog log;

    auto* doc = dynamic_cast<CQYRDrawDoc*>(draw.app.OpenDocumentFile(ToCString(screen)));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CQYRDrawView*>(DrawApp::FirstView(doc));
    ASSERT_NE(view, nullptr);
    AfxPumpMessages();
    CFODataModel* model = view->GetCurrentModel();
    const int before = model->GetShapeCount();
    ASSERT_TRUE(view->OnDrop(FO_COMP_SIMPLELABEL, view->CanvasToClient(CPoint(300, 200))));
    ASSERT_EQ(before + 1, model->GetShapeCount());
    auto* label = dynamic_cast<CFOPSimpleLabelShape*>(model->GetShapes()->GetObject(before));
    ASSERT_NE(label, nullptr);
    label->SetObjectName(L"LevelLabel");

    // Double click, select all that is there, type, Enter.
    QWidget* canvas = view->GetClientWidget();
    const CPoint c = view->CanvasToClient(label->GetSnapRect().CenterPoint());
    const QPointF at(c.x, c.y);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, canvas->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(canvas, &dbl);
    ASSERT_TRUE(view->IsTextEditing());
    QWidget* box = view->GetTextEditWnd()->GetWidget();
    for (const QChar ch : QStringLiteral("Tank A"))
        SendKey(box, 0, QString(ch));
    SendKey(box, Qt::Key_Return);
    EXPECT_EQ(CString(L"Tank A"), label->GetLabelText());

    // The Text dialog from the context menu's Properties submenu, on the selected label.
    view->ClearSelection();
    view->AddToSelection(label);
    log.answer = [](const AfxModalRequest& r)
    {
        if (r.kind == AfxModalKind::Dialog && r.pDialog)
        {
            CString text;
            r.pDialog->GetDlgItemText(1001, text);
            r.pDialog->SetDlgItemText(1001, text + L" level");
            return int(IDOK);
        }
        return int(IDOK);
    };
    view->SendMessage(WM_COMMAND, 32873, 0);
    log.answer = nullptr;
    EXPECT_EQ(CString(L"Tank A level"), label->GetLabelText());

    // The frame's Save reaches the active screen.
    view->GetParentFrame()->ActivateFrame();
    draw.Frame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_FALSE(doc->IsModified());
    doc->OnCloseDocument();
    AfxPumpMessages();

    auto* again = dynamic_cast<CQYRDrawDoc*>(draw.app.OpenDocumentFile(ToCString(screen)));
    ASSERT_NE(again, nullptr);
    CFODrawShape* read = again->GetModel()->FindCompWithName(L"LevelLabel");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(CString(L"Tank A level"), read->GetObjectCaption());
    EXPECT_TRUE(log.texts.empty()) << log.texts.front().ToUtf8();

    const QByteArray copyTo = qgetenv("QYR_LABEL_SCREEN");
    if (!copyTo.isEmpty())
    {
        QFile::remove(QString::fromUtf8(copyTo));
        EXPECT_TRUE(QFile::copy(screen, QString::fromUtf8(copyTo)));
    }
}
