// Helpers of the diagram library tests: archives in memory and an application for drawing.
#pragma once

#include "mfc/Archive.h"
#include "mfc/File.h"
#include "mfc/Wnd.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <functional>
#include <vector>

#include <ostream>

inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << s.ToUtf8() << '"';
}

inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

inline void PrintTo(const CPoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

namespace figkit_test
{
// Bytes written by f into a storing archive.
template <class F> std::vector<BYTE> StoreBytes(F&& f)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        f(ar);
        ar.Close();
    }
    const size_t size = size_t(file.GetLength());
    BYTE* block = file.Detach();
    std::vector<BYTE> bytes(block, block + size);
    std::free(block);
    return bytes;
}

// Runs f over a loading archive on the bytes.
template <class F> void LoadBytes(const std::vector<BYTE>& bytes, F&& f)
{
    std::vector<BYTE> copy = bytes;
    CMemFile file(copy.empty() ? nullptr : copy.data(), UINT(copy.size()));
    CArchive ar(&file, CArchive::load);
    f(ar);
    ar.Close();
}

// Catches a CException* thrown by f; returns its archive cause, or -1 for another exception and
// -2 for none.
template <class F> int ArchiveCause(F&& f)
{
    try
    {
        f();
    }
    catch (CArchiveException* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    catch (CException* e)
    {
        e->Delete();
        return -1;
    }
    return -2;
}

inline void EnsureApp()
{
    AfxEnsureApplication();
}

// Runs the message loop until done() holds or ms milliseconds have passed; returns done().
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
    {
        AfxPumpMessages();
        QThread::msleep(5);
    }
    return done();
}
} // namespace figkit_test
