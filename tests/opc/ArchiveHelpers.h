// Storing an object's record into bytes and loading it back.
#pragma once

#include "mfc/Archive.h"
#include "mfc/File.h"

#include <vector>

namespace opctest
{
template <class T> std::vector<BYTE> StoreRecord(T& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}

template <class T> void LoadRecord(std::vector<BYTE> bytes, T& object)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

// The bytes of an archive written by fn(ar).
template <class Fn> std::vector<BYTE> Write(Fn fn)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fn(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}
} // namespace opctest
