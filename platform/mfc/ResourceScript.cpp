#include "mfc/ResourceScript.h"

#include "win32/Utf.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <utility>

namespace
{
// Nesting limits keep a hostile script from exhausting the stack.
constexpr int kMaxMenuDepth = 16;
constexpr int kMaxExprDepth = 64;

// Names every script may use without defining them (the usual header values).
struct BuiltinName
{
    const char* name;
    long long value;
};
const BuiltinName kBuiltins[] = {
    {"IDC_STATIC", -1},      {"IDOK", 1},           {"IDCANCEL", 2},        {"IDABORT", 3},
    {"IDRETRY", 4},          {"IDIGNORE", 5},       {"IDYES", 6},           {"IDNO", 7},
    {"IDCLOSE", 8},          {"IDHELP", 9},         {"VK_BACK", 0x08},      {"VK_TAB", 0x09},
    {"VK_CLEAR", 0x0C},      {"VK_RETURN", 0x0D},   {"VK_SHIFT", 0x10},     {"VK_CONTROL", 0x11},
    {"VK_MENU", 0x12},       {"VK_PAUSE", 0x13},    {"VK_CAPITAL", 0x14},   {"VK_ESCAPE", 0x1B},
    {"VK_SPACE", 0x20},      {"VK_PRIOR", 0x21},    {"VK_NEXT", 0x22},      {"VK_END", 0x23},
    {"VK_HOME", 0x24},       {"VK_LEFT", 0x25},     {"VK_UP", 0x26},        {"VK_RIGHT", 0x27},
    {"VK_DOWN", 0x28},       {"VK_SNAPSHOT", 0x2C}, {"VK_INSERT", 0x2D},    {"VK_DELETE", 0x2E},
    {"VK_HELP", 0x2F},       {"VK_APPS", 0x5D},     {"VK_NUMPAD0", 0x60},   {"VK_NUMPAD1", 0x61},
    {"VK_NUMPAD2", 0x62},    {"VK_NUMPAD3", 0x63},  {"VK_NUMPAD4", 0x64},   {"VK_NUMPAD5", 0x65},
    {"VK_NUMPAD6", 0x66},    {"VK_NUMPAD7", 0x67},  {"VK_NUMPAD8", 0x68},   {"VK_NUMPAD9", 0x69},
    {"VK_MULTIPLY", 0x6A},   {"VK_ADD", 0x6B},      {"VK_SUBTRACT", 0x6D},  {"VK_DECIMAL", 0x6E},
    {"VK_DIVIDE", 0x6F},     {"VK_F1", 0x70},       {"VK_F2", 0x71},        {"VK_F3", 0x72},
    {"VK_F4", 0x73},         {"VK_F5", 0x74},       {"VK_F6", 0x75},        {"VK_F7", 0x76},
    {"VK_F8", 0x77},         {"VK_F9", 0x78},       {"VK_F10", 0x79},       {"VK_F11", 0x7A},
    {"VK_F12", 0x7B},        {"VK_OEM_PLUS", 0xBB}, {"VK_OEM_COMMA", 0xBC}, {"VK_OEM_MINUS", 0xBD},
    {"VK_OEM_PERIOD", 0xBE},
};

const char* const kMemoryOptions[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                      "PURE",    "IMPURE",     "SHARED", "NONSHARED"};
// Statements that may stand between a resource's header and its block.
const char* const kOptionStatements[] = {"STYLE",     "EXSTYLE",     "CAPTION",        "FONT",
                                         "MENU",      "CLASS",       "LANGUAGE",       "CHARACTERISTICS",
                                         "VERSION",   "FILEVERSION", "PRODUCTVERSION", "FILEFLAGSMASK",
                                         "FILEFLAGS", "FILEOS",      "FILETYPE",       "FILESUBTYPE"};

struct ControlKind
{
    const char* keyword;
    const wchar_t* cls;
    bool hasText;
};
const ControlKind kControls[] = {
    {"LTEXT", L"Static", true},           {"RTEXT", L"Static", true},
    {"CTEXT", L"Static", true},           {"ICON", L"Static", true},
    {"PUSHBUTTON", L"Button", true},      {"DEFPUSHBUTTON", L"Button", true},
    {"PUSHBOX", L"Button", true},         {"CHECKBOX", L"Button", true},
    {"AUTOCHECKBOX", L"Button", true},    {"STATE3", L"Button", true},
    {"AUTO3STATE", L"Button", true},      {"RADIOBUTTON", L"Button", true},
    {"AUTORADIOBUTTON", L"Button", true}, {"GROUPBOX", L"Button", true},
    {"EDITTEXT", L"Edit", false},         {"LISTBOX", L"ListBox", false},
    {"COMBOBOX", L"ComboBox", false},     {"SCROLLBAR", L"ScrollBar", false},
};
// Window classes CONTROL may name without quotes.
const wchar_t* const kClassNames[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};

template <size_t N> bool InList(const char* const (&list)[N], const std::string& word)
{
    return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return word == w; });
}

std::string Upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool IsIdentStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

enum class TokKind
{
    Ident,
    Number,
    String,
    Punct,
    End
};

struct Token
{
    TokKind kind = TokKind::End;
    std::string text;  // identifier, punctuation, number as written, or a string's raw bytes
    std::string upper; // identifiers: upper case, for keywords
    std::wstring str;  // strings: decoded
    long long value = 0;
    int line = 0;
};

struct ParseError
{
    int line;
    std::string message;
};
// A failure while evaluating a #defined name: reported as it stands at the outermost use.
struct NameError : ParseError
{
};

std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}
} // namespace

// Parses one script into a CResourceScript. Works on a token list; every statement that fails is
// reported and skipped so that the rest of the script still loads.
class CResourceScriptParser
{
public:
    CResourceScriptParser(CResourceScript& out, std::string_view module, const AFX_RESOURCE_FILE* files,
                          size_t count)
        : m_out(out), m_module(module), m_files(files), m_fileCount(files ? count : 0)
    {
    }

    void Run(std::string_view text)
    {
        Tokenize(text, 1, m_tokens, true);
        Token end;
        end.line = m_lastLine;
        m_tokens.push_back(end);
        m_pos = 0;
        while (!AtEnd())
        {
            const size_t start = m_pos;
            try
            {
                ParseStatement();
            }
            catch (const ParseError& e)
            {
                Report(e.line, e.message);
                RecoverTopLevel(e.line);
            }
            if (m_pos == start && !AtEnd())
                ++m_pos;
        }
    }

private:
    struct Define
    {
        std::vector<Token> tokens;
        int line = 0;
        bool evaluating = false;
    };

    // --- tokens ---------------------------------------------------------------------------------

    void Tokenize(std::string_view text, int line, std::vector<Token>& out, bool directives)
    {
        size_t i = 0;
        bool lineStart = true;
        const size_t n = text.size();
        while (i < n)
        {
            const char c = text[i];
            if (c == '\n')
            {
                ++line;
                ++i;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v')
            {
                ++i;
                continue;
            }
            if (c == '/' && i + 1 < n && text[i + 1] == '/')
            {
                while (i < n && text[i] != '\n')
                    ++i;
                continue;
            }
            if (c == '/' && i + 1 < n && text[i + 1] == '*')
            {
                const int startLine = line;
                i += 2;
                while (i < n && !(text[i] == '*' && i + 1 < n && text[i + 1] == '/'))
                {
                    if (text[i] == '\n')
                        ++line;
                    ++i;
                }
                if (i >= n)
                    Report(startLine, "unterminated comment");
                else
                    i += 2;
                continue;
            }
            if (c == '#' && lineStart && directives)
            {
                size_t e = i;
                while (e < n && text[e] != '\n')
                    ++e;
                Directive(text.substr(i + 1, e - i - 1), line);
                i = e;
                continue;
            }
            lineStart = false;
            Token t;
            t.line = line;
            if (c == '"' || (c == 'L' && i + 1 < n && text[i + 1] == '"'))
            {
                i += c == 'L' ? 2 : 1;
                ReadString(text, i, line, t);
                out.push_back(std::move(t));
                continue;
            }
            if (std::isdigit(static_cast<unsigned char>(c)))
            {
                ReadNumber(text, i, line, t);
                out.push_back(std::move(t));
                continue;
            }
            if (IsIdentStart(c))
            {
                const size_t s = i;
                while (i < n && IsIdentChar(text[i]))
                    ++i;
                t.kind = TokKind::Ident;
                t.text = std::string(text.substr(s, i - s));
                t.upper = Upper(t.text);
                out.push_back(std::move(t));
                continue;
            }
            if (std::string_view(",|()+-~{}").find(c) != std::string_view::npos)
            {
                t.kind = TokKind::Punct;
                t.text = std::string(1, c);
                out.push_back(std::move(t));
                ++i;
                continue;
            }
            if (static_cast<unsigned char>(c) >= 0x80)
            {
                // One report for a whole non-ASCII character.
                Report(line, "unexpected non-ASCII character outside a string");
                while (i < n && static_cast<unsigned char>(text[i]) >= 0x80)
                    ++i;
                continue;
            }
            Report(line, std::string("unexpected character '") +
                             (c >= 32 && c < 127 ? std::string(1, c) : "?") + "'");
            ++i;
        }
        m_lastLine = std::max(m_lastLine, line);
    }

    void ReadString(std::string_view text, size_t& i, int line, Token& t)
    {
        t.kind = TokKind::String;
        std::string bytes;
        const size_t n = text.size();
        const size_t rawStart = i;
        bool closed = false;
        while (i < n && text[i] != '\n')
        {
            const char c = text[i];
            if (c == '"')
            {
                if (i + 1 < n && text[i + 1] == '"')
                {
                    bytes += '"';
                    i += 2;
                    continue;
                }
                closed = true;
                break;
            }
            if (c == '\\' && i + 1 < n && text[i + 1] != '\n')
            {
                const char e = text[i + 1];
                switch (e)
                {
                case 'n':
                    bytes += '\n';
                    break;
                case 't':
                    bytes += '\t';
                    break;
                case 'r':
                    bytes += '\r';
                    break;
                case '\\':
                    bytes += '\\';
                    break;
                case '"':
                    bytes += '"';
                    break;
                default:
                    bytes += '\\';
                    bytes += e;
                    break;
                }
                i += 2;
                continue;
            }
            bytes += c;
            ++i;
        }
        t.text = std::string(text.substr(rawStart, i - rawStart));
        if (closed)
            ++i;
        else
            Report(line, "unterminated string");
        t.str = Utf8ToWide(bytes);
    }

    void ReadNumber(std::string_view text, size_t& i, int line, Token& t)
    {
        t.kind = TokKind::Number;
        const size_t n = text.size();
        const size_t s = i;
        int base = 10;
        if (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        {
            base = 16;
            i += 2;
        }
        unsigned long long v = 0;
        bool digits = false;
        bool overflow = false;
        while (i < n)
        {
            const char c = text[i];
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                d = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
            if (d < 0)
                break;
            v = v * unsigned(base) + unsigned(d);
            if (v > 0xFFFFFFFFull)
                overflow = true, v = 0xFFFFFFFFull;
            digits = true;
            ++i;
        }
        while (i < n && (text[i] == 'L' || text[i] == 'l' || text[i] == 'U' || text[i] == 'u'))
            ++i;
        bool bad = !digits;
        while (i < n && IsIdentChar(text[i]))
            ++i, bad = true;
        t.text = std::string(text.substr(s, i - s));
        t.value = (long long)v;
        if (bad)
            Report(line, "bad number " + Quote(t.text));
        else if (overflow)
            Report(line, "number " + t.text + " is too large");
    }

    void Directive(std::string_view body, int line)
    {
        size_t i = 0;
        while (i < body.size() && (body[i] == ' ' || body[i] == '\t'))
            ++i;
        size_t e = i;
        while (e < body.size() && IsIdentChar(body[e]))
            ++e;
        const std::string word(body.substr(i, e - i));
        if (word == "pragma")
            return;
        std::vector<Token> rest;
        Tokenize(body.substr(e), line, rest, false);
        if (word == "define" || word == "undef")
        {
            if (rest.empty() || rest[0].kind != TokKind::Ident)
            {
                Report(line, "#" + word + " needs a name");
                return;
            }
            const std::string name = rest[0].text;
            if (word == "undef")
            {
                m_defines.erase(name);
                return;
            }
            Define d;
            d.tokens.assign(rest.begin() + 1, rest.end());
            d.line = line;
            m_defines[name] = std::move(d);
            return;
        }
        if (word == "include")
            Report(line, "#include is not supported: keep one script per module");
        else
            Report(line, "unknown directive #" + word);
    }

    bool AtEnd() const { return m_tokens[m_pos].kind == TokKind::End; }
    const Token& Peek(size_t ahead = 0) const
    {
        const size_t i = std::min(m_pos + ahead, m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token& Next()
    {
        const Token& t = m_tokens[m_pos];
        if (t.kind != TokKind::End)
            ++m_pos;
        return t;
    }

    static bool IsKeyword(const Token& t, const char* kw)
    {
        return t.kind == TokKind::Ident && t.upper == kw;
    }
    static bool IsPunct(const Token& t, char c) { return t.kind == TokKind::Punct && t.text[0] == c; }
    static bool IsBegin(const Token& t) { return IsKeyword(t, "BEGIN") || IsPunct(t, '{'); }
    static bool IsEnd(const Token& t) { return IsKeyword(t, "END") || IsPunct(t, '}'); }

    [[noreturn]] static void Fail(const Token& at, const std::string& message)
    {
        throw ParseError{at.line, message};
    }
    static std::string Describe(const Token& t)
    {
        switch (t.kind)
        {
        case TokKind::End:
            return "the end of the script";
        case TokKind::String:
            return "string " + Quote(t.text);
        default:
            return Quote(t.text);
        }
    }

    bool AcceptPunct(char c)
    {
        if (!IsPunct(Peek(), c))
            return false;
        Next();
        return true;
    }
    void ExpectPunct(char c)
    {
        if (!AcceptPunct(c))
            Fail(Peek(), std::string("expected '") + c + "' before " + Describe(Peek()));
    }
    void ExpectBegin()
    {
        if (!IsBegin(Peek()))
            Fail(Peek(), "expected BEGIN before " + Describe(Peek()));
        Next();
    }

    void Report(int line, const std::string& message)
    {
        m_out.m_errors.push_back(std::string(m_module) + ", line " + std::to_string(line) + ": " + message);
    }

    // --- recovery -------------------------------------------------------------------------------

    // Skips the rest of a line, but leaves block brackets for the caller to see.
    void SkipLine(int line)
    {
        while (!AtEnd() && Peek().line == line && !IsBegin(Peek()) && !IsEnd(Peek()))
            Next();
    }
    void SkipBlock()
    {
        int depth = 0;
        while (!AtEnd())
        {
            const Token& t = Next();
            if (IsBegin(t))
                ++depth;
            else if (IsEnd(t) && --depth <= 0)
                return;
        }
    }
    void RecoverTopLevel(int line)
    {
        SkipLine(line);
        while (!AtEnd())
        {
            const Token& t = Peek();
            if (IsBegin(t))
            {
                SkipBlock();
                return;
            }
            if (t.kind == TokKind::Ident && InList(kOptionStatements, t.upper))
            {
                Next();
                SkipLine(t.line);
                continue;
            }
            return;
        }
    }
    // Runs one statement of a block; a failure skips that statement only.
    template <typename F> void BlockItem(F&& parse)
    {
        const size_t start = m_pos;
        try
        {
            parse();
        }
        catch (const ParseError& e)
        {
            Report(e.line, e.message);
            SkipLine(e.line);
            if (IsBegin(Peek()))
                SkipBlock();
            if (m_pos == start && !AtEnd() && !IsEnd(Peek()))
                Next();
        }
    }
    // Runs parse for each statement up to the block's END.
    template <typename F> void ParseBlock(F&& parse)
    {
        ExpectBegin();
        for (;;)
        {
            if (AtEnd())
                Fail(Peek(), "missing END");
            if (IsEnd(Peek()))
            {
                Next();
                return;
            }
            BlockItem(parse);
        }
    }

    // --- expressions ----------------------------------------------------------------------------

    bool IsDefined(const std::string& name) const
    {
        if (m_defines.count(name))
            return true;
        return std::any_of(std::begin(kBuiltins), std::end(kBuiltins),
                           [&](const BuiltinName& b) { return name == b.name; });
    }

    long long EvalName(const Token& at)
    {
        auto it = m_defines.find(at.text);
        if (it == m_defines.end())
        {
            for (const BuiltinName& b : kBuiltins)
                if (at.text == b.name)
                    return b.value;
            throw NameError{{at.line, "undefined name " + Quote(at.text)}};
        }
        Define& d = it->second;
        if (d.evaluating)
            throw NameError{{at.line, "name " + Quote(at.text) + " refers to itself"}};
        if (d.tokens.empty())
            throw NameError{{at.line, "name " + Quote(at.text) + " has no value"}};
        // Evaluate the definition's tokens in place of the script's, then come back.
        d.evaluating = true;
        std::vector<Token> saved = std::move(m_tokens);
        const size_t savedPos = m_pos;
        m_tokens = d.tokens;
        Token end;
        end.line = d.line;
        m_tokens.push_back(end);
        m_pos = 0;
        struct Restore
        {
            CResourceScriptParser& p;
            Define& d;
            std::vector<Token>& saved;
            size_t pos;
            ~Restore()
            {
                p.m_tokens = std::move(saved);
                p.m_pos = pos;
                d.evaluating = false;
            }
        } restore{*this, d, saved, savedPos};
        try
        {
            const long long v = ParseExpr();
            if (!AtEnd())
                Fail(Peek(), "");
            return v;
        }
        catch (const NameError& e)
        {
            throw NameError{{at.line, e.message}};
        }
        catch (const ParseError&)
        {
            throw NameError{{at.line, "name " + Quote(at.text) + " (#define on line " +
                                          std::to_string(d.line) + ") is not a number"}};
        }
    }

    long long ParsePrimary()
    {
        struct Depth
        {
            int& d;
            ~Depth() { --d; }
        } depth{++m_exprDepth};
        if (m_exprDepth > kMaxExprDepth)
            Fail(Peek(), "expression nested too deep");
        const Token& t = Peek();
        if (t.kind == TokKind::Number)
            return Next().value;
        if (t.kind == TokKind::Ident)
            return EvalName(Next());
        if (IsPunct(t, '('))
        {
            Next();
            const long long v = ParseExpr();
            ExpectPunct(')');
            return v;
        }
        if (IsPunct(t, '-'))
        {
            Next();
            return -ParsePrimary();
        }
        if (IsPunct(t, '+'))
        {
            Next();
            return ParsePrimary();
        }
        if (IsPunct(t, '~'))
        {
            Next();
            return (long long)(~(uint32_t)ParsePrimary());
        }
        Fail(t, "expected a number before " + Describe(t));
    }

    long long ParseExpr()
    {
        long long v = ParsePrimary();
        for (;;)
        {
            if (AcceptPunct('+'))
                v += ParsePrimary();
            else if (AcceptPunct('-'))
                v -= ParsePrimary();
            else if (AcceptPunct('|'))
                v = (long long)((uint32_t)v | (uint32_t)ParsePrimary());
            else
                return v;
            // Keep within 32 bits so that long sums cannot overflow.
            v = (long long)(int64_t)(int32_t)(uint32_t)v;
        }
    }

    WORD ParseWord(const char* what)
    {
        const Token& at = Peek();
        const long long v = ParseExpr();
        if (v < 0 || v > 0xFFFF)
            Fail(at, std::string(what) + " " + std::to_string(v) + " is out of range (0 to 65535)");
        return WORD(v);
    }
    int ParseInt()
    {
        const Token& at = Peek();
        const long long v = ParseExpr();
        if (v < -0x80000000LL || v > 0xFFFFFFFFLL)
            Fail(at, "number " + std::to_string(v) + " is out of range");
        return int(int32_t(uint32_t(v)));
    }

    CString ParseText(const char* what)
    {
        if (Peek().kind != TokKind::String)
            Fail(Peek(), std::string("expected ") + what + " text before " + Describe(Peek()));
        return CString(Next().str);
    }

    CResourceName ParseName()
    {
        const Token& t = Peek();
        if (t.kind == TokKind::String)
            return CResourceName::FromText(Next().str);
        if (t.kind == TokKind::Ident && !IsDefined(t.text))
            return CResourceName::FromText(Utf8ToWide(Next().upper));
        return CResourceName(ParseWord("resource id"));
    }

    // --- statements -----------------------------------------------------------------------------

    void SkipMemoryOptions()
    {
        while (Peek().kind == TokKind::Ident && InList(kMemoryOptions, Peek().upper))
            Next();
    }

    void ParseStatement()
    {
        const Token& first = Peek();
        if (IsKeyword(first, "STRINGTABLE"))
        {
            Next();
            ParseStringTable();
            return;
        }
        if (IsKeyword(first, "LANGUAGE"))
        {
            Next();
            ParseExpr();
            ExpectPunct(',');
            ParseExpr();
            return;
        }
        if (IsBegin(first) || IsEnd(first))
            Fail(first, "unexpected " + Describe(first));
        const int line = first.line;
        const CResourceName name = ParseName();
        const Token& type = Peek();
        if (type.kind != TokKind::Ident)
            Fail(type, "expected a resource type before " + Describe(type));
        const std::string kind = Next().upper;
        SkipMemoryOptions();
        if (kind == "MENU")
            Store(m_out.m_menus, name, ParseMenu(), "MENU", line);
        else if (kind == "ACCELERATORS")
            Store(m_out.m_accels, name, ParseAccelerators(), "ACCELERATORS", line);
        else if (kind == "DIALOG" || kind == "DIALOGEX")
            Store(m_out.m_dialogs, name, ParseDialog(kind == "DIALOGEX"), kind.c_str(), line);
        else if (kind == "TOOLBAR")
            Store(m_out.m_toolbars, name, ParseToolBar(), "TOOLBAR", line);
        else if (kind == "VERSIONINFO")
            Store(m_out.m_version, name, ParseVersionInfo(), "VERSIONINFO", line);
        else if (kind == "BITMAP" || kind == "ICON" || kind == "CURSOR" || kind == "AVI" || kind == "PNG" ||
                 kind == "COMPSRES" || kind == "RCDATA")
            ParseFile(kind, name, line);
        else
            Fail(type, "unknown resource type " + Quote(type.text));
    }

    template <typename T>
    void Store(std::map<CResourceName, T>& map, const CResourceName& name, T&& value, const char* kind,
               int line)
    {
        if (!map.emplace(name, std::move(value)).second)
            Report(line, std::string("duplicate ") + kind + " " + name.ToString().ToUtf8());
    }

    void ParseStringTable()
    {
        SkipMemoryOptions();
        while (Peek().kind == TokKind::Ident && InList(kOptionStatements, Peek().upper))
        {
            const int line = Next().line;
            SkipLine(line);
        }
        ParseBlock(
            [&]
            {
                const Token& at = Peek();
                const WORD id = ParseWord("string id");
                AcceptPunct(',');
                CString text = ParseText("string");
                if (!m_out.m_strings.emplace(id, std::move(text)).second)
                    Report(at.line, "duplicate string id " + std::to_string(id));
            });
    }

    void ParseMenuOptions(AFX_MENU_ITEM& item)
    {
        for (;;)
        {
            const bool comma = AcceptPunct(',');
            const Token& t = Peek();
            if (t.kind != TokKind::Ident)
            {
                if (comma)
                    Fail(t, "expected a menu option before " + Describe(t));
                return;
            }
            if (t.upper == "CHECKED")
                item.bChecked = TRUE;
            else if (t.upper == "GRAYED")
                item.bGrayed = TRUE;
            else if (t.upper == "INACTIVE")
                item.bInactive = TRUE;
            else if (t.upper == "MENUBREAK")
                item.bMenuBreak = TRUE;
            else if (t.upper == "MENUBARBREAK")
                item.bMenuBarBreak = TRUE;
            else if (t.upper == "HELP")
                item.bHelp = TRUE;
            else if (comma)
                Fail(t, "unknown menu option " + Quote(t.text));
            else
                return;
            Next();
        }
    }

    void ParseMenuItems(std::vector<AFX_MENU_ITEM>& items, int depth)
    {
        if (depth > kMaxMenuDepth)
            Fail(Peek(), "menus nested too deep");
        ParseBlock(
            [&]
            {
                const Token& t = Peek();
                AFX_MENU_ITEM item;
                if (IsKeyword(t, "MENUITEM"))
                {
                    Next();
                    if (IsKeyword(Peek(), "SEPARATOR"))
                    {
                        Next();
                        item.bSeparator = TRUE;
                    }
                    else
                    {
                        item.strText = ParseText("menu item");
                        ExpectPunct(',');
                        item.nID = UINT(ParseInt());
                        ParseMenuOptions(item);
                    }
                }
                else if (IsKeyword(t, "POPUP"))
                {
                    Next();
                    item.bPopup = TRUE;
                    item.strText = ParseText("popup");
                    ParseMenuOptions(item);
                    ParseMenuItems(item.items, depth + 1);
                }
                else
                    Fail(t, "expected MENUITEM or POPUP before " + Describe(t));
                items.push_back(std::move(item));
            });
    }

    AFX_TOOLBAR_TEMPLATE ParseToolBar()
    {
        AFX_TOOLBAR_TEMPLATE bar;
        bar.cx = ParseInt();
        ExpectPunct(',');
        bar.cy = ParseInt();
        if (bar.cx <= 0 || bar.cy <= 0 || bar.cx > 256 || bar.cy > 256)
            Fail(Peek(), "bad toolbar button size");
        ParseBlock(
            [&]
            {
                const Token& t = Peek();
                if (IsKeyword(t, "BUTTON"))
                {
                    Next();
                    const UINT id = UINT(ParseWord("button id"));
                    if (id == 0)
                        Fail(t, "a toolbar button needs a command id");
                    bar.items.push_back(id);
                }
                else if (IsKeyword(t, "SEPARATOR"))
                {
                    Next();
                    bar.items.push_back(0);
                }
                else
                    Fail(t, "expected BUTTON or SEPARATOR before " + Describe(t));
            });
        return bar;
    }

    AFX_MENU_TEMPLATE ParseMenu()
    {
        AFX_MENU_TEMPLATE menu;
        ParseMenuItems(menu.items, 0);
        return menu;
    }

    AFX_ACCEL_TABLE ParseAccelerators()
    {
        AFX_ACCEL_TABLE table;
        ParseBlock(
            [&]
            {
                const Token& ev = Peek();
                ACCEL a{};
                bool controlChar = false;
                wchar_t ch = 0;
                if (ev.kind == TokKind::String)
                {
                    const std::wstring s = Next().str;
                    if (s.size() == 2 && s[0] == L'^')
                    {
                        const wchar_t up = wchar_t(std::towupper(wint_t(s[1])));
                        if (up < L'@' || up > L'_')
                            Fail(ev, "bad control key " + Quote(ev.text));
                        controlChar = true;
                        ch = up;
                    }
                    else if (s.size() == 1 && uint32_t(s[0]) <= 0xFFFF)
                        ch = s[0];
                    else
                        Fail(ev, "an accelerator key is one character, not " + Quote(ev.text));
                }
                else
                    a.key = ParseWord("key");
                ExpectPunct(',');
                a.cmd = ParseWord("command id");
                bool virtKey = false;
                bool ascii = false;
                for (;;)
                {
                    const bool comma = AcceptPunct(',');
                    const Token& t = Peek();
                    BYTE flag = 0;
                    if (IsKeyword(t, "VIRTKEY"))
                        virtKey = true;
                    else if (IsKeyword(t, "ASCII"))
                        ascii = true;
                    else if (IsKeyword(t, "NOINVERT"))
                        flag = FNOINVERT;
                    else if (IsKeyword(t, "SHIFT"))
                        flag = FSHIFT;
                    else if (IsKeyword(t, "CONTROL"))
                        flag = FCONTROL;
                    else if (IsKeyword(t, "ALT"))
                        flag = FALT;
                    else if (comma)
                        Fail(t, "unknown accelerator option " + Describe(t));
                    else
                        break;
                    a.fVirt = BYTE(a.fVirt | flag);
                    Next();
                }
                if (virtKey && ascii)
                    Fail(ev, "an accelerator is either VIRTKEY or ASCII");
                if (ev.kind == TokKind::String)
                {
                    if (controlChar && virtKey)
                        Fail(ev, "a \"^\" key cannot be VIRTKEY");
                    a.key = controlChar ? WORD(ch - L'@')
                            : virtKey   ? WORD(std::towupper(wint_t(ch)))
                                        : WORD(ch);
                }
                if (virtKey)
                    a.fVirt = BYTE(a.fVirt | FVIRTKEY);
                table.entries.push_back(a);
            });
        return table;
    }

    void ParseStyleInto(AFX_STYLE_WORDS& style, bool negate, int depth)
    {
        if (depth > kMaxExprDepth)
            Fail(Peek(), "style nested too deep");
        do
        {
            bool neg = negate;
            if (IsKeyword(Peek(), "NOT"))
            {
                Next();
                neg = !neg;
            }
            const Token& t = Peek();
            if (IsPunct(t, '('))
            {
                Next();
                ParseStyleInto(style, neg, depth + 1);
                ExpectPunct(')');
            }
            else if (t.kind == TokKind::Ident && !IsDefined(t.text))
            {
                CString word(Utf8ToWide(Next().text));
                (neg ? style.notWords : style.words).push_back(word);
            }
            else
            {
                const uint32_t bits = uint32_t(ParsePrimary());
                style.dwBits = neg ? (style.dwBits & ~bits) : (style.dwBits | bits);
            }
        } while (AcceptPunct('|') || AcceptPunct('+'));
    }
    AFX_STYLE_WORDS ParseStyle()
    {
        AFX_STYLE_WORDS style;
        ParseStyleInto(style, false, 0);
        return style;
    }

    // Text of a control: a string, or an icon's or bitmap's resource name.
    CString ParseControlText()
    {
        if (Peek().kind == TokKind::String)
            return CString(Next().str);
        return ParseName().ToString();
    }

    AFX_DLG_CONTROL ParseControl()
    {
        const Token& kw = Peek();
        if (kw.kind != TokKind::Ident)
            Fail(kw, "expected a control before " + Describe(kw));
        AFX_DLG_CONTROL c;
        c.strKeyword = CString(Utf8ToWide(kw.upper));
        if (kw.upper == "CONTROL")
        {
            Next();
            c.strText = ParseControlText();
            ExpectPunct(',');
            c.nID = ParseInt();
            ExpectPunct(',');
            const Token& cls = Peek();
            if (cls.kind == TokKind::String)
                c.strClass = CString(Next().str);
            else if (cls.kind == TokKind::Ident)
            {
                c.strClass = CString(Utf8ToWide(Next().text));
                for (const wchar_t* known : kClassNames)
                    if (c.strClass.CompareNoCase(known) == 0)
                        c.strClass = known;
            }
            else
                Fail(cls, "expected a window class before " + Describe(cls));
            ExpectPunct(',');
            c.style = ParseStyle();
            ExpectPunct(',');
            c.x = ParseInt();
            ExpectPunct(',');
            c.y = ParseInt();
            ExpectPunct(',');
            c.cx = ParseInt();
            ExpectPunct(',');
            c.cy = ParseInt();
            if (AcceptPunct(','))
                c.exStyle = ParseStyle();
            if (AcceptPunct(','))
                ParseExpr(); // help id
            return c;
        }
        const ControlKind* kind = nullptr;
        for (const ControlKind& k : kControls)
            if (kw.upper == k.keyword)
                kind = &k;
        if (!kind)
            Fail(kw, "unknown control " + Quote(kw.text));
        Next();
        c.strClass = kind->cls;
        if (kind->hasText)
        {
            c.strText = kw.upper == "ICON" ? ParseControlText() : ParseText("control");
            ExpectPunct(',');
        }
        c.nID = ParseInt();
        ExpectPunct(',');
        c.x = ParseInt();
        ExpectPunct(',');
        c.y = ParseInt();
        // An icon's size is optional.
        if (kw.upper == "ICON" && !IsPunct(Peek(), ','))
            return c;
        ExpectPunct(',');
        c.cx = ParseInt();
        ExpectPunct(',');
        c.cy = ParseInt();
        if (AcceptPunct(','))
            c.style = ParseStyle();
        if (AcceptPunct(','))
            c.exStyle = ParseStyle();
        if (AcceptPunct(','))
            ParseExpr(); // help id
        return c;
    }

    AFX_DLG_TEMPLATE ParseDialog(bool extended)
    {
        AFX_DLG_TEMPLATE dlg;
        dlg.bExtended = extended;
        dlg.x = ParseInt();
        ExpectPunct(',');
        dlg.y = ParseInt();
        ExpectPunct(',');
        dlg.cx = ParseInt();
        ExpectPunct(',');
        dlg.cy = ParseInt();
        if (AcceptPunct(','))
            ParseExpr(); // help id
        for (;;)
        {
            const Token& t = Peek();
            if (t.kind != TokKind::Ident || !InList(kOptionStatements, t.upper))
                break;
            Next();
            if (t.upper == "STYLE")
                dlg.style = ParseStyle();
            else if (t.upper == "EXSTYLE")
                dlg.exStyle = ParseStyle();
            else if (t.upper == "CAPTION")
                dlg.strCaption = ParseText("caption");
            else if (t.upper == "FONT")
            {
                dlg.nFontSize = ParseInt();
                ExpectPunct(',');
                dlg.strFontName = ParseText("font");
                if (AcceptPunct(','))
                    dlg.nFontWeight = ParseInt();
                if (AcceptPunct(','))
                    dlg.bFontItalic = ParseInt() != 0;
                if (AcceptPunct(','))
                    ParseInt(); // character set
            }
            else if (t.upper == "MENU")
                dlg.menu = ParseName();
            else if (t.upper == "CLASS")
                dlg.strClass = ParseControlText();
            else if (t.upper == "LANGUAGE")
            {
                ParseExpr();
                ExpectPunct(',');
                ParseExpr();
            }
            else if (t.upper == "CHARACTERISTICS" || t.upper == "VERSION")
                ParseExpr();
            else
                Fail(t, Quote(t.text) + " does not belong in a dialog");
        }
        ParseBlock([&] { dlg.controls.push_back(ParseControl()); });
        return dlg;
    }

    // Four comma-separated 16-bit parts as two 32-bit halves; missing parts are 0.
    void ParseVersionNumbers(DWORD& ms, DWORD& ls)
    {
        WORD parts[4] = {};
        parts[0] = WORD(ParseExpr());
        for (int i = 1; i < 4 && AcceptPunct(','); ++i)
            parts[i] = WORD(ParseExpr());
        ms = (DWORD(parts[0]) << 16) | parts[1];
        ls = (DWORD(parts[2]) << 16) | parts[3];
    }

    AFX_VERSION_INFO ParseVersionInfo()
    {
        AFX_VERSION_INFO info;
        for (;;)
        {
            const Token& t = Peek();
            if (t.kind != TokKind::Ident || !InList(kOptionStatements, t.upper))
                break;
            const std::string option = Next().upper;
            if (option == "FILEVERSION")
                ParseVersionNumbers(info.dwFileVersionMS, info.dwFileVersionLS);
            else if (option == "PRODUCTVERSION")
                ParseVersionNumbers(info.dwProductVersionMS, info.dwProductVersionLS);
            else if (option == "FILEFLAGSMASK")
                info.dwFileFlagsMask = DWORD(ParseExpr());
            else if (option == "FILEFLAGS")
                info.dwFileFlags = DWORD(ParseExpr());
            else if (option == "FILEOS")
                info.dwFileOS = DWORD(ParseExpr());
            else if (option == "FILETYPE")
                info.dwFileType = DWORD(ParseExpr());
            else if (option == "FILESUBTYPE")
                info.dwFileSubtype = DWORD(ParseExpr());
            else
                Fail(t, Quote(t.text) + " does not belong in a VERSIONINFO");
        }
        ParseBlock(
            [&]
            {
                const Token& t = Peek();
                if (!IsKeyword(t, "BLOCK"))
                    Fail(t, "expected BLOCK before " + Describe(t));
                Next();
                const std::string kind = Upper(WideToUtf8(ParseText("block").str()));
                if (kind == "STRINGFILEINFO")
                    ParseBlock([&] { ParseStringBlock(info); });
                else if (kind == "VARFILEINFO")
                    ParseBlock([&] { ParseTranslations(info); });
                else
                    SkipBlock();
            });
        return info;
    }

    void ParseStringBlock(AFX_VERSION_INFO& info)
    {
        if (!IsKeyword(Peek(), "BLOCK"))
            Fail(Peek(), "expected BLOCK before " + Describe(Peek()));
        Next();
        std::wstring block = ParseText("block").str();
        for (wchar_t& c : block)
            c = wchar_t(std::towupper(c));
        auto& values = info.strings[block];
        ParseBlock(
            [&]
            {
                if (!IsKeyword(Peek(), "VALUE"))
                    Fail(Peek(), "expected VALUE before " + Describe(Peek()));
                Next();
                const std::wstring key = ParseText("value name").str();
                ExpectPunct(',');
                values[key] = ParseText("value");
            });
    }

    void ParseTranslations(AFX_VERSION_INFO& info)
    {
        if (!IsKeyword(Peek(), "VALUE"))
            Fail(Peek(), "expected VALUE before " + Describe(Peek()));
        Next();
        const std::string key = Upper(WideToUtf8(ParseText("value name").str()));
        while (AcceptPunct(','))
        {
            const WORD lang = ParseWord("language");
            ExpectPunct(',');
            const WORD cp = ParseWord("code page");
            if (key == "TRANSLATION")
                info.translations.emplace_back(lang, cp);
        }
    }

    void ParseFile(const std::string& kind, const CResourceName& name, int line)
    {
        const Token& path = Peek();
        if (path.kind != TokKind::String)
            Fail(path, "expected a file name before " + Describe(path));
        Next();
        const AFX_RESOURCE_FILE* file = nullptr;
        for (size_t i = 0; i < m_fileCount; ++i)
            if (m_files[i].name && path.text == m_files[i].name)
                file = &m_files[i];
        if (!file || (!file->data && file->size))
            Fail(path, "file " + Quote(path.text) + " was not embedded by the build");
        CResourceName type;
        if (kind == "BITMAP")
            type = CResourceName(WORD(2));
        else if (kind == "ICON")
            type = CResourceName(WORD(3));
        else if (kind == "CURSOR")
            type = CResourceName(WORD(1));
        else if (kind == "RCDATA")
            type = CResourceName(WORD(10));
        else
            type = CResourceName::FromText(Utf8ToWide(kind));
        AFX_RESOURCE_DATA data;
        data.strFile = CString(Utf8ToWide(path.text));
        data.pData = file->data;
        data.nSize = file->size;
        if (!m_out.m_data.emplace(std::make_pair(type, name), data).second)
            Report(line, "duplicate " + kind + " " + name.ToString().ToUtf8());
    }

    CResourceScript& m_out;
    std::string_view m_module;
    const AFX_RESOURCE_FILE* m_files;
    size_t m_fileCount;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_lastLine = 1;
    int m_exprDepth = 0;
    std::map<std::string, Define> m_defines;
};

// --- CResourceName --------------------------------------------------------------------------------

CResourceName CResourceName::FromPointer(LPCWSTR name)
{
    if (!name)
        return CResourceName();
    if (IS_INTRESOURCE(name))
        return CResourceName(WORD(ULONG_PTR(name)));
    if (name[0] == L'#' && name[1])
    {
        unsigned long v = 0;
        const wchar_t* p = name + 1;
        while (*p >= L'0' && *p <= L'9' && v <= 0xFFFF)
            v = v * 10 + unsigned(*p++ - L'0');
        if (!*p && v <= 0xFFFF)
            return CResourceName(WORD(v));
    }
    return FromText(name);
}

CResourceName CResourceName::FromText(const std::wstring& name)
{
    CResourceName r;
    r.m_strName = name;
    for (wchar_t& c : r.m_strName)
        c = wchar_t(std::towupper(wint_t(c)));
    if (r.m_strName.empty())
        r.m_strName = L"#";
    return r;
}

CString CResourceName::ToString() const
{
    if (IsInt())
        return CString(L"#" + std::to_wstring(m_nID));
    return CString(m_strName);
}

// --- the parsed data ------------------------------------------------------------------------------

BOOL AFX_STYLE_WORDS::Has(LPCWSTR word) const
{
    if (!word)
        return FALSE;
    auto in = [&](const std::vector<CString>& v) { return std::find(v.begin(), v.end(), word) != v.end(); };
    return in(words) && !in(notWords);
}

const AFX_DLG_CONTROL* AFX_DLG_TEMPLATE::FindControl(int nID) const
{
    for (const AFX_DLG_CONTROL& c : controls)
        if (c.nID == nID)
            return &c;
    return nullptr;
}

void CResourceScript::Parse(std::string_view module, std::string_view text, const AFX_RESOURCE_FILE* files,
                            size_t count)
{
    CResourceScriptParser parser(*this, module, files, count);
    parser.Run(text);
}

const CString* CResourceScript::FindString(UINT nID) const
{
    auto it = m_strings.find(nID);
    return it == m_strings.end() ? nullptr : &it->second;
}

BOOL CResourceScript::HasStringBlock(WORD block) const
{
    if (block == 0)
        return FALSE;
    const UINT first = UINT(block - 1) * 16;
    auto it = m_strings.lower_bound(first);
    return it != m_strings.end() && it->first < first + 16;
}

const AFX_MENU_TEMPLATE* CResourceScript::FindMenu(const CResourceName& name) const
{
    auto it = m_menus.find(name);
    return it == m_menus.end() ? nullptr : &it->second;
}

const AFX_DLG_TEMPLATE* CResourceScript::FindDialog(const CResourceName& name) const
{
    auto it = m_dialogs.find(name);
    return it == m_dialogs.end() ? nullptr : &it->second;
}

const AFX_ACCEL_TABLE* CResourceScript::FindAccelerators(const CResourceName& name) const
{
    auto it = m_accels.find(name);
    return it == m_accels.end() ? nullptr : &it->second;
}

const AFX_TOOLBAR_TEMPLATE* CResourceScript::FindToolBar(const CResourceName& name) const
{
    auto it = m_toolbars.find(name);
    return it == m_toolbars.end() ? nullptr : &it->second;
}

const AFX_RESOURCE_DATA* CResourceScript::FindData(const CResourceName& type, const CResourceName& name) const
{
    CResourceName t = type;
    if (t.IsInt() && t.GetID() == 14)
        t = CResourceName(WORD(3));
    else if (t.IsInt() && t.GetID() == 12)
        t = CResourceName(WORD(1));
    auto it = m_data.find(std::make_pair(t, name));
    return it == m_data.end() ? nullptr : &it->second;
}

BOOL CResourceScript::HasResource(const CResourceName& type, const CResourceName& name) const
{
    if (type.IsInt())
    {
        switch (type.GetID())
        {
        case 4:
            return FindMenu(name) != nullptr;
        case 5:
            return FindDialog(name) != nullptr;
        case 6:
            return name.IsInt() && HasStringBlock(name.GetID());
        case 9:
            return FindAccelerators(name) != nullptr;
        case 241:
            return FindToolBar(name) != nullptr;
        default:
            break;
        }
    }
    return FindData(type, name) != nullptr;
}
