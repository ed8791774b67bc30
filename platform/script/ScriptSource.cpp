#include "script/ScriptSource.h"

#include <algorithm>

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

// Keywords after which an expression follows (so a `function` there is an expression, and a `/`
// starts a regular expression).
bool IsExpressionKeyword(const QString& w)
{
    static const char* const keywords[] = {"return", "typeof", "instanceof", "in", "of",   "new",   "delete",
                                           "void",   "throw",  "case",       "do", "else", "yield", "await"};
    return std::any_of(std::begin(keywords), std::end(keywords),
                       [&](const char* k) { return w == QLatin1String(k); });
}

enum class Prev
{
    None,       // start of text
    Statement,  // `;` or `}`: a statement may start
    Value,      // identifier, number, string, regex, `)` or `]`: an operator may follow
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
    int depth = 0;
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
                if (declaration && depth == 0 && !names.contains(word))
                    names << word;
                expectName = false;
                prev = Prev::Value;
            }
            else if (word == QLatin1String("function"))
            {
                expectName = true;
                declaration = prev != Prev::Expression;
                prev = Prev::Expression;
            }
            else
                prev = IsExpressionKeyword(word) ? Prev::Expression : Prev::Value;
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
        if (c == u'{')
            ++depth;
        else if (c == u'}')
            depth = std::max(0, depth - 1);
        if (c == u';' || c == u'}')
            prev = Prev::Statement;
        else if (c == u')' || c == u']')
            prev = Prev::Value;
        else
            prev = Prev::Expression;
        ++i;
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
