// Script editor speed: opening a 100,000-line script in a 1920 x 1080 view and painting its first and
// last screens (the colouring state runs through every line), and typing one character (insert, undo
// record, repaint of its line).
#include "scripteditor/ScriptEditView.h"
#include "scripteditor/ScriptTextBuffer.h"

#include "mfc/FrameWnd.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <string>

namespace
{
class CBenchView : public CScriptEditView
{
public:
    CScriptTextBuffer* m_pBuf = nullptr;
    CScriptTextBuffer* LocateTextBuffer() override { return m_pBuf; }
};

const std::wstring& ScriptPath()
{
    static const std::wstring path = []
    {
        const std::wstring p = QDir::temp().filePath("bench_100k.uscp").toStdWString();
        CScriptTextBuffer b;
        b.InitEmpty();
        std::wstring text;
        for (int i = 0; i < 100000; ++i)
        {
            switch (i % 5)
            {
            case 0:
                text += L"function Proc" + std::to_wstring(i) + L"(a, b)\r\n";
                break;
            case 1:
                text += L"{\r\n";
                break;
            case 2:
                text +=
                    L"\tvar x = app.GetValue(\"Tag" + std::to_wstring(i) + L"\") + 0x1F * 1.5; // note\r\n";
                break;
            case 3:
                text += L"\t/* block */ return x;\r\n";
                break;
            default:
                text += (i + 1 < 100000) ? L"}\r\n" : L"}";
                break;
            }
        }
        int l = 0, c = 0;
        b.InsertText(nullptr, 0, 0, text, l, c);
        b.SaveFile(p.c_str());
        return p;
    }();
    return path;
}

struct CHarness
{
    CFrameWnd* pFrame = nullptr;
    CBenchView* pView = nullptr;
    CScriptTextBuffer buffer;

    CHarness()
    {
        AfxEnsureApplication();
        pFrame = new CFrameWnd;
        pFrame->Create(nullptr, L"Bench");
        pFrame->ShowWindow(SW_SHOW);
        pView = new CBenchView;
        pView->m_pBuf = &buffer;
        pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), pFrame, 100, nullptr);
        pView->OnInitialUpdate();
        pView->GetWidget()->resize(1920, 1080);
        AfxPumpMessages();
    }
    ~CHarness()
    {
        pFrame->DestroyWindow();
        AfxPumpMessages();
    }
    void Paint(const QRegion& region = QRegion())
    {
        QWidget* client = pView->GetClientWidget();
        static QImage image(client->size(), QImage::Format_RGB32);
        if (image.size() != client->size())
            image = QImage(client->size(), QImage::Format_RGB32);
        client->render(&image, QPoint(), region.isEmpty() ? QRegion(client->rect()) : region);
    }
};

void BM_OpenAndPaintFirstAndLastScreens(benchmark::State& state)
{
    const std::wstring& path = ScriptPath();
    CHarness h;
    for (auto _ : state)
    {
        h.buffer.LoadFile(path.c_str());
        h.Paint();
        h.pView->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
        h.Paint();
        benchmark::DoNotOptimize(h.pView->GetTopLine());
    }
    state.counters["lines"] = h.buffer.GetLineCount();
    state.counters["screen_lines"] = h.pView->GetScreenLines();
}
BENCHMARK(BM_OpenAndPaintFirstAndLastScreens)->Unit(benchmark::kMillisecond);

void BM_TypeCharacter(benchmark::State& state)
{
    const std::wstring& path = ScriptPath();
    CHarness h;
    h.buffer.LoadFile(path.c_str());
    h.pView->SendMessage(WM_VSCROLL, SB_THUMBPOSITION, 0);
    const int line = 50002; // a line with code on it
    h.pView->SetSelection(CPoint(1, line), CPoint(1, line));
    h.pView->EnsureVisible(CPoint(1, line));
    h.pView->SetCursorPos(CPoint(1, line));
    h.Paint();
    int typed = 0;
    for (auto _ : state)
    {
        h.pView->SendMessage(WM_CHAR, 'a', 0);
        const CPoint p = h.pView->TextToClient(CPoint(0, h.pView->GetCursorPos().y));
        h.Paint(QRegion(0, p.y, 1920, h.pView->GetLineHeight()));
        if (++typed == 64)
        {
            // Keep the line its usual length.
            state.PauseTiming();
            h.buffer.DeleteText(nullptr, line, 1, line, 1 + typed);
            h.pView->SetCursorPos(CPoint(1, line));
            h.pView->SetSelection(CPoint(1, line), CPoint(1, line));
            typed = 0;
            state.ResumeTiming();
        }
    }
    state.counters["undo_records"] = h.buffer.GetUndoRecordCount();
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMicrosecond);
} // namespace
