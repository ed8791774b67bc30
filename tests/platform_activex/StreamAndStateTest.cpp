// Memory streams and the state stream of the stand-in controls: every renderer's settings go round
// the stream, and every damaged or foreign stream is refused without touching the settings.
#include "activex/InstrumentState.h"
#include "activex/OleStreamFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST(MemoryStream, WritesSeeksAndReadsShortAtTheEnd)
{
    COleStreamFile file;
    ASSERT_TRUE(file.CreateMemoryStream());
    ASSERT_TRUE(file.Write("abcdef", 6));
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.SeekToBegin(), 0u);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(file.Read(buf + 4, 8), 2u);
    EXPECT_STREQ(buf, "abcdef");

    LPSTREAM stream = file.GetStream();
    ULONGLONG pos = 0;
    EXPECT_EQ(stream->Seek(-2, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(stream->Seek(-10, STREAM_SEEK_CUR, &pos), STG_E_INVALIDFUNCTION);

    COleStreamFile none;
    EXPECT_EQ(none.Read(buf, 4), 0u);
    EXPECT_FALSE(none.Write("x", 1));
}

namespace
{
CInstrumentSettings Sample(EInstrumentRenderer renderer)
{
    CInstrumentSettings s = InstrumentDefaultSettings(renderer, 3);
    s.strCaption = L"Pump \x00e9 1";
    s.dMin = -5.5;
    s.dMax = 250.25;
    s.crFore = 0x123456;
    s.crBack = 0x654321;
    s.crActive = 0x0A0B0C;
    return s;
}

std::vector<BYTE> Stream(EInstrumentRenderer renderer)
{
    return InstrumentStateWrite(renderer, Sample(renderer));
}
} // namespace

TEST(InstrumentState, EveryRendererReadsBackWhatItWrote)
{
    for (int k = 0; k < kInstrumentRendererCount; ++k)
    {
        const auto renderer = EInstrumentRenderer(k);
        const std::vector<BYTE> bytes = Stream(renderer);
        CInstrumentSettings read;
        ASSERT_TRUE(InstrumentStateRead(bytes.data(), bytes.size(), renderer, read)) << k;
        EXPECT_EQ(read, Sample(renderer)) << k;
        // Another renderer's stream is not this one's.
        CInstrumentSettings other;
        EXPECT_FALSE(
            InstrumentStateRead(bytes.data(), bytes.size(), EInstrumentRenderer((k + 1) % 8), other));
    }
}

TEST(InstrumentState, DamagedStreamsAreRefusedAndLeaveTheSettings)
{
    const auto renderer = EInstrumentRenderer::Switch;
    const std::vector<BYTE> good = Stream(renderer);
    // Offsets: magic 0, version 4, renderer 6, caption count 7, caption 11, then 8 units.
    const size_t afterCaption = 11 + 2 * 8;
    auto with = [&](size_t at, const void* p, size_t n)
    {
        std::vector<BYTE> b = good;
        std::memcpy(b.data() + at, p, n);
        return b;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double low = -1e9;
    const LONG tooMany = 17;
    const DWORD hugeCaption = 0xFFFFFFFF;
    const WORD zeroUnit = 0;
    const DWORD highByte = 0x01000000;
    const WORD version2 = 2;
    struct Case
    {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"empty", {}},
        {"magic", with(0, "QYIX", 4)},
        {"version", with(4, &version2, 2)},
        {"caption count past the end", with(7, &hugeCaption, 4)},
        {"nul in caption", with(11, &zeroUnit, 2)},
        {"minimum NaN", with(afterCaption, &nan, 8)},
        {"maximum below minimum", with(afterCaption + 8, &low, 8)},
        {"count out of range", with(afterCaption + 16, &tooMany, 4)},
        {"colour with a high byte", with(afterCaption + 20, &highByte, 4)},
        {"trailing byte",
         [&]
         {
             auto b = good;
             b.push_back(0);
             return b;
         }()},
    };
    for (const Case& c : cases)
    {
        CInstrumentSettings s = Sample(EInstrumentRenderer::Dial);
        const CInstrumentSettings before = s;
        EXPECT_FALSE(InstrumentStateRead(c.bytes.data(), c.bytes.size(), renderer, s)) << c.name;
        EXPECT_EQ(s, before) << c.name;
    }
    for (size_t n = 0; n < good.size(); ++n)
    {
        CInstrumentSettings s;
        EXPECT_FALSE(InstrumentStateRead(good.data(), n, renderer, s)) << "cut at " << n;
    }
}
