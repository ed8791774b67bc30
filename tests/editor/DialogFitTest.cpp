// Every dialog template of the three programs, made offscreen: no static text, button, check box,
// radio button or group box shows a text wider than the control gives it. The dialogs are grabbed
// to pictures for a person to look at.
#include "mfc/ButtonCtl.h"
#include "mfc/Dialog.h"
#include "mfc/FrameWnd.h"
#include "mfc/ResourceModule.h"
#include "mfc/StaticCtl.h"
#include "mfc/WinApp.h"
#include "support/TemplateDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The resource modules that make up QYRDraw, QYRView and QYRMView: the programs' own scripts and
// those of the libraries they link.
struct Module
{
    const char* name;
    bool bHasDialogs;
};
const Module kModules[] = {{"Editor", true},     {"FitQYRDraw", false}, {"FitScriptEditor", false},
                           {"Plexcore", true},   {"Figkit", true},      {"Symbols", true},
                           {"QyrActiveX", true}, {"FitQYRView", true},  {"FitQYRMView", true}};

// A control whose text does not fit.
struct Offender
{
    std::string dialog;
    int nID = 0;
    std::string kind;
    QString text;
    int needed = 0; // pixels across (or down, for a wrapped label)
    int room = 0;
};

// A button's text as shown: '&' marks a mnemonic, "&&" is an ampersand.
QString ShownText(const QString& raw)
{
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i)
    {
        if (raw[i] == u'&' && i + 1 < raw.size())
            out += raw[++i];
        else if (raw[i] != u'&')
            out += raw[i];
    }
    return out;
}

// The text room of a label: its contents, less the indent a framed label keeps.
QRect LabelRoom(const QLabel& label)
{
    QRect room =
        label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
    int indent = label.indent();
    if (indent < 0 && label.frameWidth() > 0)
        indent = QFontMetrics(label.font()).horizontalAdvance(QLatin1Char('x')) / 2 - label.margin();
    if (indent > 0)
        room.adjust(indent, 0, -indent, 0);
    return room;
}

// What a control needs against what it has; false for a control without a text to check.
bool Measure(QWidget* w, DWORD dwStyle, Offender& out)
{
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w))
    {
        const DWORD type = dwStyle & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || label->text().isEmpty())
            return false;
        out.kind = "static";
        out.text = label->text();
        const QRect room = LabelRoom(*label);
        if (!label->wordWrap())
        {
            out.needed = fm.horizontalAdvance(out.text);
            out.room = room.width();
            return true;
        }
        // A wrapped label must hold its lines, at least one of them, and its longest word.
        const QRect need = fm.boundingRect(QRect(0, 0, std::max(1, room.width()), 10000),
                                           int(label->alignment()) | Qt::TextWordWrap, out.text);
        if (need.width() > room.width())
        {
            out.needed = need.width();
            out.room = room.width();
        }
        else
        {
            out.kind = "static (lines)";
            out.needed = need.height();
            out.room = std::max(room.height(), fm.height());
        }
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(w))
    {
        if (group->title().isEmpty())
            return false;
        out.kind = "group box";
        out.text = ShownText(group->title());
        // The title sits inside the frame's corners.
        out.needed = fm.horizontalAdvance(out.text) + 2 * fm.horizontalAdvance(QLatin1Char('x'));
        out.room = group->width();
        return true;
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty())
        return false;
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    out.kind = "button";
    if (qobject_cast<QCheckBox*>(button))
    {
        contents = QStyle::SE_CheckBoxContents;
        out.kind = "check box";
    }
    else if (qobject_cast<QRadioButton*>(button))
    {
        contents = QStyle::SE_RadioButtonContents;
        out.kind = "radio button";
    }
    out.text = ShownText(button->text());
    out.needed = fm.horizontalAdvance(out.text);
    out.room = button->style()->subElementRect(contents, &opt, button).width();
    return true;
}

std::string Utf8(const CString& s)
{
    return s.ToUtf8();
}

std::string Table(const std::vector<Offender>& rows)
{
    std::string table = "dialog | id | control | text | needs px | has px\n";
    for (const Offender& r : rows)
        table += r.dialog + " | " + std::to_string(r.nID) + " | " + r.kind + " | \"" + r.text.toStdString() +
                 "\" | " + std::to_string(r.needed) + " | " + std::to_string(r.room) + "\n";
    return table;
}

class CDialogFitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"dialogs"));
        m_pFrame->MoveWindow(0, 0, 1000, 800);
        m_pFrame->ShowWindow(SW_SHOW);
        m_app.m_pMainWnd = m_pFrame;
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        AfxWinTerm();
    }

    CWinApp m_app;
    CFrameWnd* m_pFrame = nullptr;
};

TEST_F(CDialogFitTest, EveryTemplatesTextsFitTheirControls)
{
    const QString shots = QStringLiteral(QYR_DIALOG_SHOTS);
    QDir().mkpath(shots);
    std::vector<Offender> offenders;
    for (const auto& [module, bHasDialogs] : kModules)
    {
        const CResourceScript* script = AfxGetResourceScript(AfxGetModuleByName(module));
        ASSERT_NE(script, nullptr) << module;
        EXPECT_EQ(!script->GetDialogs().empty(), bHasDialogs) << module;
        for (const auto& [name, tmpl] : script->GetDialogs())
        {
            const std::string title =
                std::string(module) + " " + Utf8(name.ToString()) + " \"" + Utf8(tmpl.strCaption) + "\"";
            CTemplateDialog dlg(tmpl);
            ASSERT_TRUE(dlg.Create(LPCWSTR(nullptr), m_pFrame)) << title;
            dlg.ShowWindow(SW_SHOW);
            AfxPumpMessages();
            std::vector<CWnd*> controls;
            dlg.GetChildWindows(controls);
            for (CWnd* c : controls)
            {
                Offender o;
                if (c->GetWidget() && Measure(c->GetWidget(), c->GetStyle(), o) && o.needed > o.room)
                {
                    o.dialog = title;
                    o.nID = c->GetDlgCtrlID();
                    offenders.push_back(o);
                }
            }
            const QString file =
                QStringLiteral("%1/%2-%3.png")
                    .arg(shots, QString::fromLatin1(module), QString::fromStdWString(name.ToString().str()));
            EXPECT_TRUE(dlg.GetWidget()->grab().toImage().save(file)) << title;
            dlg.DestroyWindow();
            AfxPumpMessages();
        }
    }
    EXPECT_TRUE(offenders.empty()) << offenders.size() << " controls cut their text short:\n"
                                   << Table(offenders);
}
} // namespace
