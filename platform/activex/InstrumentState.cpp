#include "activex/InstrumentState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
const char kMagic[4] = {'Q', 'Y', 'I', 'C'};
const WORD kVersion = 1;
const DWORD kMaxCaption = 255;

const INSTRUMENT_COUNT_RANGE kRanges[kInstrumentRendererCount] = {
    {2, 20, L"Scale ticks"}, {2, 20, L"Scale ticks"}, {1, 4, L"Symbol"},      {2, 16, L"Positions"},
    {1, 16, L"Digits"},      {0, 9, L"Decimals"},     {1, 20, L"Grid lines"}, {0, 8, L"Bevel"},
};

class CWriter
{
public:
    void Bytes(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_out.insert(m_out.end(), b, b + n);
    }
    template <class T> void Put(T v)
    {
        BYTE b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        Bytes(b, sizeof(T));
    }
    std::vector<BYTE> m_out;
};

class CReader
{
public:
    CReader(const BYTE* p, size_t n) : m_p(p), m_n(n) {}
    bool Bytes(void* to, size_t n)
    {
        if (n > m_n - m_pos)
            return false;
        std::memcpy(to, m_p + m_pos, n);
        m_pos += n;
        return true;
    }
    template <class T> bool Get(T& v) { return Bytes(&v, sizeof(T)); }
    bool AtEnd() const { return m_pos == m_n; }
    size_t Left() const { return m_n - m_pos; }

private:
    const BYTE* m_p;
    size_t m_n;
    size_t m_pos = 0;
};
} // namespace

const INSTRUMENT_COUNT_RANGE& InstrumentCountRange(EInstrumentRenderer renderer)
{
    return kRanges[std::min<size_t>(size_t(renderer), kInstrumentRendererCount - 1)];
}

CInstrumentSettings InstrumentDefaultSettings(EInstrumentRenderer renderer, int nCount)
{
    const INSTRUMENT_COUNT_RANGE& range = InstrumentCountRange(renderer);
    CInstrumentSettings s;
    s.nCount = std::clamp(nCount, range.nMin, range.nMax);
    switch (renderer)
    {
    case EInstrumentRenderer::Lamp:
        s.crActive = 0x00D000;
        s.crBack = 0x404040;
        break;
    case EInstrumentRenderer::Digits:
        s.crFore = 0x3030FF;
        s.crBack = 0x101010;
        s.crActive = 0x3030FF;
        break;
    case EInstrumentRenderer::Plot:
        s.crBack = 0x202020;
        s.crFore = 0x00FF00;
        break;
    case EInstrumentRenderer::TextBox:
        s.crBack = 0xFFFFFF;
        break;
    default:
        break;
    }
    return s;
}

BOOL InstrumentSettingsValid(EInstrumentRenderer renderer, const CInstrumentSettings& s)
{
    const INSTRUMENT_COUNT_RANGE& range = InstrumentCountRange(renderer);
    return std::isfinite(s.dMin) && std::isfinite(s.dMax) && s.dMin < s.dMax && s.nCount >= range.nMin &&
           s.nCount <= range.nMax && DWORD(s.strCaption.GetLength()) <= kMaxCaption;
}

std::vector<BYTE> InstrumentStateWrite(EInstrumentRenderer renderer, const CInstrumentSettings& s)
{
    CWriter w;
    w.Bytes(kMagic, sizeof(kMagic));
    w.Put<WORD>(kVersion);
    w.Put<BYTE>(BYTE(renderer));
    const int n = s.strCaption.GetLength();
    w.Put<DWORD>(DWORD(n));
    for (int i = 0; i < n; ++i)
        w.Put<WORD>(WORD(s.strCaption[i]));
    w.Put<double>(s.dMin);
    w.Put<double>(s.dMax);
    w.Put<LONG>(LONG(s.nCount));
    w.Put<DWORD>(s.crFore);
    w.Put<DWORD>(s.crBack);
    w.Put<DWORD>(s.crActive);
    return std::move(w.m_out);
}

BOOL InstrumentStateRead(const BYTE* pData, size_t nSize, EInstrumentRenderer renderer,
                         CInstrumentSettings& out)
{
    if (!pData && nSize)
        return FALSE;
    CReader r(pData, nSize);
    char magic[4];
    WORD version = 0;
    BYTE kind = 0;
    DWORD chars = 0;
    if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !r.Get(version) || version != kVersion ||
        !r.Get(kind) || kind != BYTE(renderer) || !r.Get(chars) || chars > kMaxCaption ||
        chars * 2 > r.Left())
        return FALSE;
    CInstrumentSettings s;
    std::wstring caption;
    for (DWORD i = 0; i < chars; ++i)
    {
        WORD unit = 0;
        r.Get(unit);
        if (unit == 0)
            return FALSE;
        caption.push_back(wchar_t(unit));
    }
    s.strCaption = CString(caption);
    LONG count = 0;
    DWORD fore = 0, back = 0, active = 0;
    if (!r.Get(s.dMin) || !r.Get(s.dMax) || !r.Get(count) || !r.Get(fore) || !r.Get(back) || !r.Get(active) ||
        !r.AtEnd())
        return FALSE;
    s.nCount = int(count);
    s.crFore = fore & 0xFFFFFF;
    s.crBack = back & 0xFFFFFF;
    s.crActive = active & 0xFFFFFF;
    if (fore != s.crFore || back != s.crBack || active != s.crActive || !InstrumentSettingsValid(renderer, s))
        return FALSE;
    out = s;
    return TRUE;
}
