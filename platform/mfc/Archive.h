// CArchive: the binary archive of documents, little-endian, with MFC's forms for counts, strings
// and object tags, so files keep the layout the system has always written.
//
// Layouts: BYTE, char and bool 1 byte; WORD, short and wchar_t 2 (wchar_t as one UTF-16 unit); int,
// LONG, DWORD, UINT and float 4; double, LONGLONG, ULONGLONG, long and long long 8. A CString is
// written as FF FE FF, a length prefix in UTF-16 units (BYTE below 0xFF, else FF and a WORD below
// 0xFFFE, else FF FF FF and a DWORD below 0xFFFFFFFF, else also FF FF FF FF and a QWORD) and the
// UTF-16LE text; reading also accepts the plain form without the marker, whose bytes are UTF-8.
// An object is a WORD tag: 0 null, 0xFFFF a new class (WORD schema, WORD name length, ASCII name)
// followed by the object's Serialize, 0x8000 | n a class seen before, n an object seen before;
// indexes from 0x7FFF up are written as 0x7FFF and a DWORD.
//
// Errors throw CArchiveException* (endOfFile, badIndex, badClass, badSchema, readOnly, writeOnly)
// or the CFileException* of the file. No length or count read from the file is trusted: it is
// checked against the bytes left before anything is allocated for it. A new object whose Serialize
// throws is deleted again before the exception goes on.
#pragma once

#include "mfc/CString.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"
#include "mfc/Object.h"

#include <concepts>
#include <cstdint>
#include <unordered_map>
#include <vector>

class CDocument;

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_nBufCur >= m_nBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns fewer than asked only at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nCount);
    // Writes out the buffer when storing; when loading, moves the file back to the first unread byte.
    void Flush();
    void Close();
    void Abort();

    // Text as UTF-16LE units. WriteString writes the text as given, adding no line end; ReadString
    // reads up to a line feed and drops it and a CR before it. At the end of the data the buffer
    // form returns null and the string form FALSE, when nothing was read.
    void WriteString(LPCWSTR lpsz);
    LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

    // Objects with class and object tags.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Makes an object known, so later writes of it become references (and reads can refer to it).
    void MapObject(const CObject* pOb);
    // The schema of the object being loaded; a second call gives (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Counts: a WORD, or 0xFFFF and a DWORD (and 0xFFFFFFFF and a QWORD beyond that).
    void WriteCount(DWORD_PTR dwCount);
    // With nMinElementSize, a count whose elements cannot fit in the bytes left throws endOfFile.
    DWORD_PTR ReadCount(UINT nMinElementSize = 0);
    // The bytes left to load, or a very large number when the file cannot tell.
    ULONGLONG GetRemainingLength() const;
    // Throws endOfFile unless at least nBytes are left to load.
    void EnsureRemaining(ULONGLONG nBytes) const;

    CArchive& operator<<(BYTE by) { return WriteLE(by, 1); }
    CArchive& operator<<(char ch) { return WriteLE(BYTE(ch), 1); }
    CArchive& operator<<(signed char ch) { return WriteLE(BYTE(ch), 1); }
    CArchive& operator<<(WORD w) { return WriteLE(w, 2); }
    CArchive& operator<<(short n) { return WriteLE(WORD(n), 2); }
    CArchive& operator<<(wchar_t ch) { return WriteLE(WORD(ch), 2); }
    CArchive& operator<<(int n) { return WriteLE(DWORD(n), 4); }
    CArchive& operator<<(unsigned int n) { return WriteLE(n, 4); }
    CArchive& operator<<(long n) { return WriteLE(uint64_t(n), 8); }
    CArchive& operator<<(unsigned long n) { return WriteLE(uint64_t(n), 8); }
    CArchive& operator<<(long long n) { return WriteLE(uint64_t(n), 8); }
    CArchive& operator<<(unsigned long long n) { return WriteLE(uint64_t(n), 8); }
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    // bool only, so that no pointer is written as a bool.
    template <class B>
    requires std::same_as<B, bool> CArchive& operator<<(B b) { return WriteLE(BYTE(b ? 1 : 0), 1); }
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(LPCWSTR s) { return *this << CString(s); }

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(short& n);
    CArchive& operator>>(wchar_t& ch);
    CArchive& operator>>(int& n);
    CArchive& operator>>(unsigned int& n);
    CArchive& operator>>(long& n);
    CArchive& operator>>(unsigned long& n);
    CArchive& operator>>(long long& n);
    CArchive& operator>>(unsigned long long& n);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(bool& b);
    CArchive& operator>>(CString& s);

    // Whatever the owner wants the objects to see while they load or store, usually the document.
    CDocument* m_pDocument = nullptr;
    CString m_strFileName;

    static constexpr WORD wNullTag = 0;
    static constexpr WORD wNewClassTag = 0xFFFF;
    static constexpr WORD wClassTag = 0x8000;
    static constexpr WORD wBigObjectTag = 0x7FFF;
    static constexpr DWORD dwBigClassTag = 0x80000000u;
    static constexpr DWORD nMaxMapCount = 0x3FFFFFFE;
    // How deep objects may nest while loading; deeper data is refused rather than exhausting the stack.
    static constexpr int nMaxLoadDepth = 1000;

private:
    CArchive& WriteLE(uint64_t v, int size);
    // Most values lie whole in the buffer while loading: they are taken from there inline. The
    // buffer holds nothing while storing or once closed, so those cases go the checked way.
    uint64_t ReadLE(int size)
    {
        if (m_nBufCur + size_t(size) <= m_nBufMax)
        {
            const BYTE* p = m_buf.data() + m_nBufCur;
            m_nBufCur += size_t(size);
            uint64_t v = 0;
            for (int i = size - 1; i >= 0; --i)
                v = (v << 8) | p[i];
            return v;
        }
        return ReadLESlow(size);
    }
    uint64_t ReadLESlow(int size);
    // The bytes loaded into the buffer and not read yet.
    size_t BufferedBytes() const { return m_nBufMax > m_nBufCur ? m_nBufMax - m_nBufCur : 0; }
    void ReadExact(void* lpBuf, UINT nCount);
    void CheckLoading() const;
    void CheckStoring() const;
    void WriteBuffer();
    DWORD NextMapIndex();
    CString ReadStringBody(ULONGLONG nLength, bool bUnicode);

    // Entries of the load map: index 0 is the null object; classes and objects share the numbering.
    struct LoadEntry
    {
        const CRuntimeClass* pClass;
        CObject* pObject;
    };

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buf;
    size_t m_nBufCur = 0;
    size_t m_nBufMax = 0;
    UINT m_nObjectSchema = UINT(-1);
    DWORD m_nMapCount = 1;
    int m_nLoadDepth = 0;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
    std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
};

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
