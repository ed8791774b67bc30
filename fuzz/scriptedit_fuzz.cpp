// Edit, undo and redo sequences on the script buffer, checked against a plain model of lines; each
// changed text is coloured.
#include "scripteditor/ScriptSyntax.h"
#include "scripteditor/ScriptTextBuffer.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Lines = std::vector<std::wstring>;

Lines Snapshot(const CScriptTextBuffer& b)
{
    Lines out;
    for (int i = 0; i < b.GetLineCount(); ++i)
        out.emplace_back(b.GetLineChars(i), size_t(b.GetLineLength(i)));
    return out;
}

// The model: a break at each CR, one LF after it swallowed.
void ModelInsert(Lines& m, int line, int pos, const std::wstring& text)
{
    std::wstring tail = m[size_t(line)].substr(size_t(pos));
    m[size_t(line)].resize(size_t(pos));
    size_t cur = size_t(line);
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'\r')
        {
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            m.insert(m.begin() + long(++cur), std::wstring());
        }
        else
            m[cur].push_back(text[i]);
    }
    m[cur] += tail;
}

void ModelDelete(Lines& m, int l1, int c1, int l2, int c2)
{
    const std::wstring kept = m[size_t(l2)].substr(size_t(c2));
    m.erase(m.begin() + l1 + 1, m.begin() + l2 + 1);
    m[size_t(l1)].resize(size_t(c1));
    m[size_t(l1)] += kept;
}

void Colour(const CScriptTextBuffer& b)
{
    DWORD cookie = 0;
    std::vector<TEXTBLOCK> blocks;
    for (int i = 0; i < b.GetLineCount(); ++i)
    {
        blocks.clear();
        cookie = ParseScriptLine(cookie, b.GetLineChars(i), b.GetLineLength(i), &blocks);
    }
}

struct Reader
{
    const uint8_t* p;
    size_t n;
    int Byte() { return n ? (--n, *p++) : 0; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in{data, size};
    CScriptTextBuffer b;
    b.InitEmpty();
    std::vector<Lines> states{Snapshot(b)};
    size_t cur = 0;
    static const wchar_t alphabet[] = {L'a', L'\r', L'\n', L' ',   L'\0', L'"',
                                       L'/', L'*',  L'\\', 0x4E2D, L'\t', L'#'};
    for (int op = 0; op < 300 && in.n; ++op)
    {
        const int kind = in.Byte() % 5;
        Lines model = states[cur];
        bool changed = false;
        const int group = kind == 4 ? 1 + in.Byte() % 3 : 1;
        if (kind == 2 || kind == 3)
        {
            CPoint pt;
            const bool ok = kind == 2 ? b.Undo(pt) : b.Redo(pt);
            if (ok != (kind == 2 ? cur > 0 : cur + 1 < states.size()))
                std::abort();
            if (ok)
            {
                cur = kind == 2 ? cur - 1 : cur + 1;
                if (Snapshot(b) != states[cur])
                    std::abort();
                Colour(b);
            }
            continue;
        }
        if (group > 1)
            b.OpenUndoGroup(FALSE);
        for (int g = 0; g < group; ++g)
        {
            const int l1 = in.Byte() % (int(model.size()) + 1) - (in.Byte() & 1);
            const int c1 =
                l1 >= 0 && l1 < int(model.size()) ? in.Byte() % (int(model[size_t(l1)].size()) + 2) : 0;
            if ((kind == 0 || kind == 4) && (in.Byte() & 1))
            {
                std::wstring text;
                for (int k = in.Byte() % 8; k > 0; --k)
                    text.push_back(alphabet[in.Byte() % std::size(alphabet)]);
                int el = 0, ec = 0;
                const bool valid = l1 >= 0 && l1 < int(model.size()) && c1 <= int(model[size_t(l1)].size());
                if (bool(b.InsertText(nullptr, l1, c1, text, el, ec, 4)) != valid)
                    std::abort();
                // Inserting nothing is no step of the history.
                if (valid && !text.empty())
                {
                    ModelInsert(model, l1, c1, text);
                    changed = true;
                }
            }
            else
            {
                const int l2 = in.Byte() % (int(model.size()) + 1);
                const int c2 = l2 < int(model.size()) ? in.Byte() % (int(model[size_t(l2)].size()) + 2) : 0;
                const bool valid = l1 >= 0 && l1 < int(model.size()) && c1 <= int(model[size_t(l1)].size()) &&
                                   l2 < int(model.size()) && c2 <= int(model[size_t(l2)].size()) &&
                                   (l1 < l2 || (l1 == l2 && c1 <= c2));
                if (bool(b.DeleteText(nullptr, l1, c1, l2, c2, 9)) != valid)
                    std::abort();
                if (valid)
                {
                    ModelDelete(model, l1, c1, l2, c2);
                    changed = true;
                }
            }
        }
        if (group > 1)
            b.CloseUndoGroup(nullptr);
        if (Snapshot(b) != model)
            std::abort();
        if (changed)
        {
            states.resize(cur + 1);
            states.push_back(model);
            ++cur;
            Colour(b);
        }
    }
    return 0;
}
