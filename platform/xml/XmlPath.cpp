#include "XmlPrivate.h"

#include <cctype>

namespace qyrxml
{
namespace
{
bool IsNameStart(unsigned char c)
{
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.';
}
} // namespace

std::string WidenNameTests(const std::string& xpath, const std::string& uri)
{
    if (uri.empty())
        return xpath;
    const char quote = uri.find('\'') == std::string::npos ? '\'' : '"';
    const bool uriQuotable = uri.find(quote) == std::string::npos;
    std::string out;
    out.reserve(xpath.size() * 2);
    // A name test can stand where a step begins: at the start, after "/", "(", "[", "|", ",", an
    // axis "::" or an operator word.
    bool stepStart = true;
    size_t i = 0;
    while (i < xpath.size())
    {
        const unsigned char c = static_cast<unsigned char>(xpath[i]);
        if (c == '\'' || c == '"')
        {
            const size_t end = xpath.find(char(c), i + 1);
            const size_t stop = end == std::string::npos ? xpath.size() : end + 1;
            out.append(xpath, i, stop - i);
            i = stop;
            stepStart = false;
            continue;
        }
        if (std::isspace(c))
        {
            out += char(c);
            ++i;
            continue;
        }
        if (IsNameStart(c))
        {
            size_t j = i;
            while (j < xpath.size() && IsNameChar(static_cast<unsigned char>(xpath[j])))
                ++j;
            const std::string name = xpath.substr(i, j - i);
            size_t k = j;
            while (k < xpath.size() && std::isspace(static_cast<unsigned char>(xpath[k])))
                ++k;
            const bool call = k < xpath.size() && xpath[k] == '(';
            const bool prefixed = j < xpath.size() && xpath[j] == ':';
            const bool isOperator =
                !stepStart && (name == "and" || name == "or" || name == "div" || name == "mod");
            if (stepStart && !call && !prefixed)
            {
                out += "*[local-name()=";
                out += quote + name + quote;
                if (uriQuotable)
                    out += std::string(" and (namespace-uri()='' or namespace-uri()=") + quote + uri + quote +
                           ")";
                out += "]";
                stepStart = false;
            }
            else
            {
                out += name;
                // An axis or a prefix: the name test follows.
                if (prefixed)
                {
                    const bool axis = j + 1 < xpath.size() && xpath[j + 1] == ':';
                    out += axis ? "::" : ":";
                    j += axis ? 2 : 1;
                    stepStart = axis && name != "attribute" && name != "namespace";
                    if (!axis)
                    {
                        // The local part of a prefixed name is taken as it stands.
                        while (j < xpath.size() &&
                               (IsNameChar(static_cast<unsigned char>(xpath[j])) || xpath[j] == '*'))
                            out += xpath[j++];
                        stepStart = false;
                    }
                }
                else
                    stepStart = isOperator;
            }
            i = j;
            continue;
        }
        out += char(c);
        ++i;
        if (c == '@' || c == '$')
        {
            // Attribute names and variables are never widened.
            while (i < xpath.size() &&
                   (IsNameChar(static_cast<unsigned char>(xpath[i])) || xpath[i] == ':' || xpath[i] == '*'))
                out += xpath[i++];
            stepStart = false;
            continue;
        }
        stepStart = c == '/' || c == '(' || c == '[' || c == '|' || c == ',' || c == '=' || c == '<' ||
                    c == '>' || c == '+' || c == '!';
    }
    return out;
}
} // namespace qyrxml
