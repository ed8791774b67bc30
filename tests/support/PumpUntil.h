// Runs the message loop until a condition holds or the time runs out.
#pragma once

#include "mfc/Wnd.h"

#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Returns done(): false when ms milliseconds passed first.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
    {
        AfxPumpMessages();
        QThread::msleep(2);
    }
    return done();
}
