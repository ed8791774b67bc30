// Helpers of the grid tests: a parent window that records the grid's messages, a test grid with
// edit, check-box and combo columns, and real keys and mouse events.
#pragma once

#include "symbols/FOExtGridCtrl.h"

#include "mfc/View.h"
#include "mfc/Wnd.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <vector>

namespace grid_test
{
// A top-level window that keeps the messages 0x785 to 0x78A its grid sends or posts.
class CGridHost : public CWnd
{
public:
    struct Got
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Got> got;

    BOOL Make(int cx = 900, int cy = 700)
    {
        return CreateEx(0, nullptr, L"grid host", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= FOXGN_CURRENTCELL && message <= FOXGN_SELECTION)
            got.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const Got& g : got)
            n += g.message == message;
        return n;
    }
    const Got* Last(UINT message) const
    {
        for (auto it = got.rbegin(); it != got.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }
};

// A grid with an edit column, a check-box column and a combo column over stored values. Its
// commits can be refused.
class CTestGrid : public CFOExtGridCtrl
{
public:
    enum
    {
        CHECK = 0,
        EDIT = 1,
        COMBO = 2,
    };
    explicit CTestGrid(int nRows = 20)
    {
        FOXColumnDesc on;
        on.strTitle = L"On";
        on.nFrameType = DFC_BUTTON;
        on.nFrameState = DFCS_BUTTONCHECK;
        AddColumn(50, on);
        SetColumnEditor(CHECK, 2, WS_CHILD | BS_AUTOCHECKBOX, 0);
        FOXColumnDesc name;
        name.strTitle = L"Name";
        AddColumn(90, name);
        SetColumnEditor(EDIT, 1, WS_CHILD | ES_AUTOHSCROLL, 0);
        FOXColumnDesc mode;
        mode.strTitle = L"Mode";
        AddColumn(110, mode);
        SetColumnEditor(COMBO, 3, WS_CHILD | CBS_DROPDOWNLIST, 0);
        SetRowCount(nRows, 0);
        values.resize(size_t(nRows));
        for (int r = 0; r < nRows; ++r)
        {
            auto& row = values[size_t(r)];
            row.resize(3);
            row[EDIT].strText.Format(L"Pump %d", r);
            row[CHECK].dwData = DWORD_PTR(r % 2);
            row[COMBO].strText = kModes[r % 3];
            row[COMBO].dwData = DWORD_PTR(r % 3);
        }
    }

    FOXCellValue GetCellText(int nCol, int nRow) const override
    {
        if (nRow < 0 || nRow >= int(values.size()) || nCol < 0 || nCol > 2)
            return FOXCellValue();
        return values[size_t(nRow)][size_t(nCol)];
    }
    BOOL NotifyCellChange(int nCol, int nRow) override
    {
        if (refuse)
            return 0;
        CFOExtGridCtrl::NotifyCellChange(nCol, nRow);
        if (CFOXCellCtrl* ctrl = GetCellCtrl(nCol, nRow))
            values[size_t(nRow)][size_t(nCol)] = ctrl->GetValue();
        return 1;
    }
    CFOXCellCtrl* CreateCellCtrl(int nCol, int nRow, DWORD dwStyle, UINT nID) override
    {
        CFOXCellCtrl* ctrl = CFOExtGridCtrl::CreateCellCtrl(nCol, nRow, dwStyle, nID);
        if (auto* combo = dynamic_cast<CFOXComboBoxCtrl*>(ctrl))
            for (int i = 0; i < 3; ++i)
                combo->SetItemData(combo->AddString(kModes[i]), DWORD_PTR(i));
        return ctrl;
    }

    static constexpr const wchar_t* kModes[3] = {L"Auto", L"Manual", L"Off"};
    std::vector<std::vector<FOXCellValue>> values;
    bool refuse = false;
};

inline void Pump()
{
    for (int i = 0; i < 4; ++i)
        AfxPumpMessages();
}

inline void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
    Pump();
}

inline void Type(QWidget* w, const QString& text)
{
    for (QChar c : text)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
    Pump();
}

// A mouse event on the grid's client area at a client point.
inline void Mouse(CWnd& grid, QEvent::Type type, CPoint p, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* w = grid.GetClientWidget();
    const QPointF local(p.x, p.y);
    QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, buttons, mods);
    QApplication::sendEvent(w, &e);
}

inline void Click(CWnd& grid, CPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Mouse(grid, QEvent::MouseButtonPress, p, Qt::LeftButton, mods);
    Mouse(grid, QEvent::MouseButtonRelease, p, Qt::NoButton, mods);
    Pump();
}

inline void Wheel(CWnd& grid, int delta)
{
    QWidget* w = grid.GetClientWidget();
    const QPointF local(50, 50);
    QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    Pump();
}

inline QImage Shot(CWnd& grid)
{
    return grid.GetClientWidget()->grab().toImage();
}

inline COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

// The centre of an absolute cell on the client area.
inline CPoint CellCentre(const CFOExtGrid& grid, int nCol, int nRow)
{
    return grid.CellRect(nCol, nRow).CenterPoint();
}
} // namespace grid_test
