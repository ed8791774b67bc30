// Helpers of the screen model tests.
#pragma once

#include "mfc/Archive.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"
#include "support/ModalHook.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <ostream>
#include <vector>

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

namespace model_test
{
inline CString TempPath(const QTemporaryDir& dir, const char* name)
{
    return CString::FromUtf8((dir.path() + "/" + name).toStdString());
}

inline QByteArray ReadAll(const CString& path)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline void WriteAll(const CString& path, const QByteArray& bytes)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

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

template <class F> void LoadBytes(const std::vector<BYTE>& bytes, F&& f)
{
    std::vector<BYTE> copy = bytes;
    CMemFile file(copy.empty() ? nullptr : copy.data(), UINT(copy.size()));
    CArchive ar(&file, CArchive::load);
    f(ar);
    ar.Close();
}

// The archive cause of the CException* that f throws; -1 for another exception, -2 for none.
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

using ModalRecorder = CModalRecorder;
} // namespace model_test
