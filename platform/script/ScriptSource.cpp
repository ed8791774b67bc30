#include "script/ScriptSource.h"

#include <algorithm>
#include <vector>

namespace
{
bool IsIdStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'$';
}

bool IsIdPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

template <size_t N> bool IsOneOf(const QString& w, const char* const (&words)[N])
{
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char* k) { return w == QLatin1String(k); });
}

// Keywords after which an expression follows (so a `function` there is an expression, and a `/`
// starts a regular expression).
bool IsExpressionKeyword(const QString& w)
{
    static const char* const keywords[] = {"return", "typeof", "instanceof", "in",   "of",    "new",
                                           "delete", "void",   "throw",      "case", "yield", "await"};
    return IsOneOf(w, keywords);
}

// Keywords after which a statement follows (a `{` there opens a block).
bool IsStatementKeyword(const QString& w)
{
    static const char* const keywords[] = {"do", "else", "try", "finally"};
    return IsOneOf(w, keywords);
}

enum class Prev
{
    None,       // start of text
    Statement,  // `;`, a block's `}` or a statement keyword: a statement may start
    Value,      // identifier, number, string, regex, `)`, `]`, postfix `++`/`--` or an expression's `}`:
                // an operator may follow
    Expression, // an operator, `(`, `,`, or an expression keyword: an operand follows
};

int SkipQuoted(const QString& code, int i)
{
    const QChar quote = code[i];
    const int n = int(code.size());
    for (++i; i < n; ++i)
    {
        if (code[i] == u'\\')
            ++i;
        else if (code[i] == quote)
            return i + 1;
        else if (quote != u'`' && code[i] == u'\n')
            return i; // unterminated: the engine will say so
    }
    return n;
}

// The end of a regular expression starting at i, or -1 when the line ends first.
int SkipRegex(const QString& code, int i)
{
    const int n = int(code.size());
    bool inClass = false;
    for (++i; i < n; ++i)
    {
        const QChar c = code[i];
        if (c == u'\n')
            return -1;
        if (c == u'\\')
            ++i;
        else if (c == u'[')
            inClass = true;
        else if (c == u']')
            inClass = false;
        else if (c == u'/' && !inClass)
        {
            for (++i; i < n && IsIdPart(code[i]); ++i)
            {
            }
            return i;
        }
    }
    return -1;
}
} // namespace

namespace ScriptSource
{
QStringList TopLevelFunctions(const QString& code)
{
    QStringList names;
    const int n = int(code.size());
    // One entry per open brace: true for an object literal or a function expression's body, whose
    // `}` ends a value (a `/` after it divides), false for a block.
    std::vector<bool> braces;
    int parens = 0;
    int functionBodyAt = -1; // the paren depth at which a function expression's body opens
    Prev prev = Prev::None;
    bool expectName = false;  // just after `function`
    bool declaration = false; // and that `function` starts a declaration
    int i = 0;
    while (i < n)
    {
        const QChar c = code[i];
        if (c.isSpace())
        {
            ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && code[i + 1] == u'/')
        {
            const int end = int(code.indexOf(u'\n', i));
            i = end < 0 ? n : end;
            continue;
        }
        if (c == u'/' && i + 1 < n && code[i + 1] == u'*')
        {
            const int end = int(code.indexOf(QLatin1String("*/"), i + 2));
            i = end < 0 ? n : end + 2;
            continue;
        }
        if (c == u'"' || c == u'\'' || c == u'`')
        {
            i = SkipQuoted(code, i);
            prev = Prev::Value;
            expectName = false;
            continue;
        }
        if (IsIdStart(c))
        {
            const int start = i;
            while (i < n && IsIdPart(code[i]))
                ++i;
            const QString word = code.mid(start, i - start);
            if (expectName)
            {
                if (declaration && braces.empty() && !names.contains(word))
                    names << word;
                expectName = false;
                prev = Prev::Value;
            }
            else if (word == QLatin1String("function"))
            {
                expectName = true;
                declaration = prev != Prev::Expression;
                if (!declaration)
                    functionBodyAt = parens;
                prev = Prev::Expression;
            }
            else if (IsExpressionKeyword(word))
                prev = Prev::Expression;
            else
                prev = IsStatementKeyword(word) ? Prev::Statement : Prev::Value;
            continue;
        }
        if (c.isDigit())
        {
            while (i < n && (IsIdPart(code[i]) || code[i] == u'.'))
                ++i;
            prev = Prev::Value;
            expectName = false;
            continue;
        }
        expectName = false;
        if ((c == u'+' || c == u'-') && i + 1 < n && code[i + 1] == c)
        {
            // Postfix after an operand, which stays a value; prefix otherwise.
            if (prev != Prev::Value)
                prev = Prev::Expression;
            i += 2;
            continue;
        }
        if (c == u'/' && prev != Prev::Value)
        {
            const int end = SkipRegex(code, i);
            if (end > 0)
            {
                i = end;
                prev = Prev::Value;
                continue;
            }
        }
        ++i;
        if (c == u'{')
        {
            braces.push_back(prev == Prev::Expression || functionBodyAt == parens);
            functionBodyAt = -1;
            prev = Prev::Statement;
        }
        else if (c == u'}')
        {
            const bool value = !braces.empty() && braces.back();
            if (!braces.empty())
                braces.pop_back();
            prev = value ? Prev::Value : Prev::Statement;
        }
        else if (c == u';')
            prev = Prev::Statement;
        else if (c == u')' || c == u']')
        {
            parens -= c == u')';
            prev = Prev::Value;
        }
        else
        {
            parens += c == u'(';
            prev = Prev::Expression;
        }
    }
    return names;
}

QString LineAt(const QString& code, int line)
{
    if (line < 1)
        return QString();
    qsizetype start = 0;
    for (int l = 1; l < line; ++l)
    {
        start = code.indexOf(u'\n', start);
        if (start < 0)
            return QString();
        ++start;
    }
    qsizetype end = code.indexOf(u'\n', start);
    if (end < 0)
        end = code.size();
    if (end > start && code[end - 1] == u'\r')
        --end;
    return code.mid(start, end - start);
}
} // namespace ScriptSource
