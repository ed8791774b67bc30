// A left click on a widget as a person makes it: pressed and released at one point, the widget's
// middle unless another is given.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void LeftClick(QWidget* w, QPointF at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

inline void LeftClick(QWidget* w)
{
    LeftClick(w, QPointF(w->width() / 2.0, w->height() / 2.0));
}
