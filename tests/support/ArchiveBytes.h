// Archives in memory: the bytes a storing archive writes, a loading archive over bytes, and the
// cause of an archive exception.
#pragma once

#include "mfc/Archive.h"
#include "mfc/File.h"

#include <cstdlib>
#include <vector>

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
