// Helpers of the symbol tests: an offscreen canvas showing a model, real mouse events and timers.
#pragma once

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Wnd.h"
#include "support/Printers.h"
#include "support/PumpUntil.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace symbols_test
{
// A press and release of the left button at a canvas point, as the window system delivers them.
inline void Click(CFOPDrawWnd& canvas, CPoint pt)
{
    QWidget* w = canvas.GetWidget();
    const QPointF local(pt.x, pt.y);
    const QPointF global = w->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// A canvas window showing a model of its own.
struct Screen
{
    CFODataModel model;
    CFOPDrawWnd canvas;
    explicit Screen(CSize size = CSize(640, 480))
    {
        canvas.CreateCanvas(nullptr, CRect(0, 0, size.cx, size.cy));
        canvas.SetCurrentModel(&model);
        model.SetCanvasSize(size);
    }
    ~Screen() { canvas.SetCurrentModel(nullptr); }
};
} // namespace symbols_test
