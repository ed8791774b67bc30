#include "foundation/LanguageCatalogue.h"

#include "win32/System.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace
{
struct LanguageRow
{
    const char* primary;
    WORD id;
    std::vector<const char*> subs;
};

// Sorted by primary name in byte order. Ids below 0x400 are primary languages whose sub-languages
// count from 1; others are the full id of the sub-language named like the primary one.
const LanguageRow kLanguages[] = {
    {"AFRIKAANS", 0x0036, {}},
    {"ALBANIAN", 0x001C, {}},
    {"ARABIC",
     0x0001,
     {"SAUDI_ARABIA", "IRAQ", "EGYPT", "LIBYA", "ALGERIA", "MOROCCO", "TUNISIA", "OMAN", "YEMEN", "SYRIA",
      "JORDAN", "LEBANON", "KUWAIT", "UAE", "BAHRAIN", "QATAR"}},
    {"ARMENIAN", 0x002B, {}},
    {"ASSAMESE", 0x004D, {}},
    {"AZERI", 0x002C, {"LATIN", "CYRILLIC"}},
    {"BASQUE", 0x002D, {}},
    {"BELARUSIAN", 0x0023, {}},
    {"BENGALI", 0x0045, {}},
    {"BULGARIAN", 0x0002, {}},
    {"CATALAN", 0x0003, {}},
    {"CHINESE", 0x0004, {"TRADITIONAL", "SIMPLIFIED", "HONGKONG", "SINGAPORE", "MACAU"}},
    {"CROATIAN", 0x001A, {}},
    {"CZECH", 0x0005, {}},
    {"DANISH", 0x0006, {}},
    {"DIVEHI", 0x0065, {}},
    {"DUTCH", 0x0413, {"BELGIAN"}},
    {"ENGLISH",
     0x0009,
     {"US", "UK", "AUS", "CAN", "NZ", "EIRE", "SOUTH_AFRICA", "JAMAICA", "CARIBBEAN", "BELIZE", "TRINIDAD",
      "ZIMBABWE", "PHILIPPINES"}},
    {"ESTONIAN", 0x0025, {}},
    {"FAEROESE", 0x0038, {}},
    {"FARSI", 0x0029, {}},
    {"FINNISH", 0x000B, {}},
    {"FRENCH", 0x040C, {"BELGIAN", "CANADIAN", "SWISS", "LUXEMBOURG", "MONACO"}},
    {"GALICIAN", 0x0056, {}},
    {"GEORGIAN", 0x0037, {}},
    {"GERMAN", 0x0407, {"SWISS", "AUSTRIAN", "LUXEMBOURG", "LIECHTENSTEIN"}},
    {"GREEK", 0x0008, {}},
    {"GUJARATI", 0x0047, {}},
    {"HEBREW", 0x000D, {}},
    {"HINDI", 0x0039, {}},
    {"HUNGARIAN", 0x000E, {}},
    {"ICELANDIC", 0x000F, {}},
    {"INDONESIAN", 0x0021, {}},
    {"ITALIAN", 0x0410, {"SWISS"}},
    {"JAPANESE", 0x0011, {}},
    {"KANNADA", 0x004B, {}},
    {"KASHMIRI", 0x0460, {"SASIA"}},
    {"KAZAK", 0x003F, {}},
    {"KONKANI", 0x0057, {}},
    {"KOREAN", 0x0412, {}},
    {"KYRGYZ", 0x0040, {}},
    {"LATVIAN", 0x0026, {}},
    {"LITHUANIAN", 0x0427, {}},
    {"MACEDONIAN", 0x002F, {}},
    {"MALAY", 0x003E, {"MALAYSIA", "BRUNEI_DARUSSALAM"}},
    {"MALAYALAM", 0x004C, {}},
    {"MANIPURI", 0x0058, {}},
    {"MARATHI", 0x004E, {}},
    {"MONGOLIAN", 0x0050, {}},
    {"NEPALI", 0x0461, {"INDIA"}},
    {"NORWEGIAN", 0x0014, {"BOKMAL", "NYNORSK"}},
    {"ORIYA", 0x0048, {}},
    {"POLISH", 0x0015, {}},
    {"PORTUGUESE", 0x0816, {"BRAZILIAN"}},
    {"PUNJABI", 0x0046, {}},
    {"ROMANIAN", 0x0018, {}},
    {"RUSSIAN", 0x0019, {}},
    {"SANSKRIT", 0x004F, {}},
    {"SERBIAN", 0x041A, {"LATIN", "CYRILLIC"}},
    {"SINDHI", 0x0059, {}},
    {"SLOVAK", 0x001B, {}},
    {"SLOVENIAN", 0x0024, {}},
    {"SPANISH",
     0x040A,
     {"MEXICAN", "MODERN", "GUATEMALA", "COSTA_RICA", "PANAMA", "DOMINICAN_REPUBLIC", "VENEZUELA", "COLOMBIA",
      "PERU", "ARGENTINA", "ECUADOR", "CHILE", "URUGUAY", "PARAGUAY", "BOLIVIA", "EL_SALVADOR", "HONDURAS",
      "NICARAGUA", "PUERTO_RICO"}},
    {"SWAHILI", 0x0041, {}},
    {"SWEDISH", 0x041D, {"FINLAND"}},
    {"SYRIAC", 0x005A, {}},
    {"TAMIL", 0x0049, {}},
    {"TATAR", 0x0044, {}},
    {"TELUGU", 0x004A, {}},
    {"THAI", 0x001E, {}},
    {"TURKISH", 0x001F, {}},
    {"UKRAINIAN", 0x0022, {}},
    {"URDU", 0x0020, {"PAKISTAN", "INDIA"}},
    {"UZBEK", 0x0043, {"LATIN", "CYRILLIC"}},
    {"VIETNAMESE", 0x002A, {}},
};
static_assert(std::size(kLanguages) == 75);

bool StartsNoCase(std::string_view line, std::string_view prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::string_view Trim(std::string_view s)
{
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

// Leading white space, then decimal digits, as the C library reads "%u"; 0 when none. Values past
// the limit stay at the limit.
unsigned ReadDecimal(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    unsigned long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = std::min<unsigned long long>(v * 10 + unsigned(s[i] - '0'), 0xFFFFFFFFull);
    return unsigned(v);
}

// The number after the colon that follows a "#:" prefix.
unsigned ReadReferenceLine(std::string_view line)
{
    const size_t colon = line.find(':', 2);
    return colon == std::string_view::npos ? 0 : ReadDecimal(line.substr(colon + 1));
}

bool IsLeadByte(unsigned codepage, unsigned char c)
{
    switch (codepage)
    {
    case 932:
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
        return c >= 0x81 && c <= 0xFE;
    default:
        return false;
    }
}

// The text between a line's first and last double quote; false when it has no two.
bool QuotedText(std::string_view line, std::string_view& text)
{
    const size_t first = line.find('"');
    const size_t last = line.rfind('"');
    if (first == std::string_view::npos || last == first)
        return false;
    text = line.substr(first + 1, last - first - 1);
    return true;
}

// A line as a C string sees it: up to its first zero byte.
std::string_view UpToZero(std::string_view line)
{
    return line.substr(0, std::min(line.find('\0'), line.size()));
}
} // namespace

struct CLanguageCatalogue::Entry
{
    std::string english;
    std::string translation;
    std::string* open = nullptr; // the text the quoted lines go to
    std::vector<unsigned> pending;
    std::string comment;
};

void CLanguageCatalogue::Clear()
{
    m_table.clear();
    m_codepage = 0;
    m_unresolved = 0;
    m_mismatched = 0;
    m_outOfRange = false;
}

BOOL CLanguageCatalogue::ReadTemplate(std::string_view text)
{
    Entry e;
    size_t pos = 0;
    for (;;)
    {
        const size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos || lf - pos >= kTemplateLine)
            break;
        const std::string_view line = UpToZero(text.substr(pos, lf - pos + 1));
        pos = lf + 1;
        if (StartsNoCase(line, "#:"))
        {
            const unsigned n = ReadReferenceLine(line);
            if (n >= kMaxReference)
                m_outOfRange = true;
            else
                e.pending.push_back(n);
            ++m_unresolved;
        }
        else if (StartsNoCase(line, "msgid "))
            e.open = &e.english;
        if (!e.open)
            continue;
        std::string_view quoted;
        if (QuotedText(line, quoted))
            e.open->append(quoted);
        else
            CloseEntry(e, false);
    }
    // A text still open at the end has no blank line after it; it is whole all the same.
    if (e.open)
        CloseEntry(e, false);
    return !m_outOfRange;
}

BOOL CLanguageCatalogue::ReadCatalogue(std::string_view text)
{
    Entry e;
    for (size_t pos = 0; pos < text.size();)
    {
        // Lines of at most kCatalogueLine bytes, each with its line feed when it fits.
        const size_t lf = text.find('\n', pos);
        const size_t end = std::min(
            {lf == std::string_view::npos ? text.size() : lf + 1, text.size(), pos + size_t(kCatalogueLine)});
        const std::string_view line = UpToZero(text.substr(pos, end - pos));
        pos = end;
        if (StartsNoCase(line, "#:"))
        {
            const unsigned n = ReadReferenceLine(line);
            if (n >= kMaxReference)
                ++m_mismatched;
            else
                e.pending.push_back(n);
            --m_unresolved;
        }
        else if (StartsNoCase(line, "#,"))
        {
        }
        else if (StartsNoCase(line, "#."))
            e.comment = std::string(Trim(line.substr(2)));
        else if (StartsNoCase(line, "msgid "))
            e.open = &e.english;
        else if (StartsNoCase(line, "msgstr "))
            e.open = &e.translation;
        if (!e.open)
            continue;
        std::string_view quoted;
        if (QuotedText(line, quoted))
            e.open->append(quoted);
        else
            CloseEntry(e, true);
    }
    // The last entry of a file that ends without a blank line is kept.
    if (e.open)
        CloseEntry(e, true);
    if (m_unresolved != 0 || m_mismatched != 0 || m_outOfRange)
        return FALSE;
    // Every text must be readable in the catalogue's code page.
    if (m_codepage != 0 && !IsValidCodePage(m_codepage))
        return FALSE;
    for (const std::string& s : m_table)
        if (!s.empty() &&
            MultiByteToWideChar(m_codepage, MB_ERR_INVALID_CHARS, s.data(), int(s.size()), nullptr, 0) <= 0)
            return FALSE;
    return TRUE;
}

void CLanguageCatalogue::CloseEntry(Entry& e, bool catalogue)
{
    if (!catalogue)
    {
        for (unsigned n : e.pending)
        {
            if (m_table.size() <= n)
                m_table.resize(n + 1);
            m_table[n] = e.english;
        }
    }
    else
    {
        if (e.translation.empty())
            e.translation = e.english;
        const std::string decoded = Decode(e.translation, m_codepage);
        for (unsigned n : e.pending)
        {
            if (m_table.size() <= n)
                m_table.resize(n + 1);
            if (m_table[n] == e.english)
                m_table[n] = decoded;
            else
                ++m_mismatched;
        }
        if (e.comment == "Codepage")
        {
            m_codepage = ReadDecimal(decoded);
            e.comment.clear();
        }
    }
    e.pending.clear();
    e.english.clear();
    e.translation.clear();
    e.open = nullptr;
}

std::string CLanguageCatalogue::Decode(std::string_view text, unsigned codepage)
{
    text = UpToZero(text);
    std::string out;
    out.reserve(text.size());
    auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    for (size_t i = 0; i < text.size();)
    {
        const char c = text[i];
        if (c != '\\')
        {
            out += c;
            if (IsLeadByte(codepage, static_cast<unsigned char>(c)) && i + 1 < text.size())
                out += text[++i];
            ++i;
            continue;
        }
        if (++i >= text.size())
            break; // a backslash at the end stands for the terminating zero
        const char d = text[i];
        const char* simple = std::strchr("abfnrtv", d);
        if (simple && d)
        {
            out += "\a\b\f\n\r\t\v"[simple - "abfnrtv"];
            ++i;
        }
        else if (d == 'x')
        {
            unsigned v = 0;
            for (++i; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i)
            {
                const char h = char(std::tolower(static_cast<unsigned char>(text[i])));
                v = v * 16 + unsigned(h <= '9' ? h - '0' : h - 'a' + 10);
            }
            out += char(v);
        }
        else if (isOctal(d))
        {
            unsigned v = 0;
            for (; i < text.size() && isOctal(text[i]); ++i)
                v = v * 8 + unsigned(text[i] - '0');
            out += char(v);
        }
        else
        {
            out += d;
            ++i;
        }
    }
    // A decoded zero ends the text, as it ends a C string.
    return std::string(UpToZero(out));
}

LANGID CLanguageCatalogue::ReadCatalogueLanguage(std::string_view text)
{
    auto isSpace = [](char c)
    { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    // "msgid", a quote, LANG_ENGLISH, a comma, SUBLANG_ENGLISH_US and a quote, any white space between.
    auto isMarker = [&](std::string_view line)
    {
        size_t i = 0;
        for (std::string_view piece : {"msgid", "\"", "LANG_ENGLISH", ",", "SUBLANG_ENGLISH_US", "\""})
        {
            while (i < line.size() && isSpace(line[i]))
                ++i;
            if (line.substr(i, piece.size()) != piece)
                return false;
            i += piece.size();
        }
        while (i < line.size() && isSpace(line[i]))
            ++i;
        return i == line.size();
    };
    bool marker = false;
    for (size_t pos = 0; pos < text.size();)
    {
        const size_t lf = text.find('\n', pos);
        const size_t end = std::min(
            {lf == std::string_view::npos ? text.size() : lf + 1, text.size(), pos + size_t(kCatalogueLine)});
        const std::string_view line = UpToZero(text.substr(pos, end - pos));
        pos = end;
        if (!marker)
        {
            marker = isMarker(line);
            continue;
        }
        const size_t lang = line.find("LANG_");
        const size_t sublang = line.find("SUBLANG_");
        if (lang == std::string_view::npos || sublang == std::string_view::npos)
            return 0;
        auto name = [&](size_t at)
        {
            const std::string_view rest = line.substr(at);
            return rest.substr(0, std::min(rest.find_first_of(",\" \t\r\n"), rest.size()));
        };
        const std::string_view primary = name(lang + 5);
        std::string_view sub = name(sublang + 8);
        if (sub != "DEFAULT")
        {
            if (!StartsNoCase(sub, primary))
                return 0;
            sub.remove_prefix(primary.size());
            if (!sub.empty() && sub[0] == '_')
                sub.remove_prefix(1);
        }
        return LookupLanguageName(primary, sub);
    }
    return 0;
}

LANGID CLanguageCatalogue::LookupLanguageName(std::string_view primary, std::string_view sub)
{
    const auto* end = std::end(kLanguages);
    const auto* row =
        std::lower_bound(std::begin(kLanguages), end, primary,
                         [](const LanguageRow& r, std::string_view p) { return r.primary < p; });
    if (row == end || row->primary != primary)
        return 0;
    const unsigned id = row->id;
    if (id >= 0x400 && sub.empty())
        return LANGID(id);
    if (sub == "DEFAULT")
        return LANGID((id & 0x3FF) | 0x400);
    unsigned value = (id & 0x3FF) + 0x400;
    for (size_t i = 0;; ++i, value += 0x400)
    {
        if (value == id)
            value += 0x400;
        if (i == row->subs.size())
            return sub.empty() && id < 0x400 ? LANGID(value) : LANGID(0);
        if (row->subs[i] == sub)
            return LANGID(value);
    }
}

unsigned CLanguageCatalogue::ReadReference(const wchar_t* text)
{
    static const wchar_t kPrefix[] = L"Rivez.rc:";
    if (!text || std::wcsncmp(text, kPrefix, std::size(kPrefix) - 1) != 0)
        return 0;
    const wchar_t* p = text + std::size(kPrefix) - 1;
    while (*p == L' ' || *p == L'\t')
        ++p;
    unsigned long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        v = std::min<unsigned long long>(v * 10 + unsigned(*p - L'0'), 0xFFFFFFFFull);
    return unsigned(v);
}
