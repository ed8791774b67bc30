// Writes a language library and a catalogue from the resource scripts of a program.
//
//   LangLibGen --out <bundle.cpp> --module <name> --version a,b,c,d
//              [--catalogue <out.po> --translations <source.po>]
//              [--menu <id>]... [--dialog <id>]... [--strings <first>-<last>]... <script.rc>...
//
// The library's script holds the chosen menus, dialogs and strings with every text replaced by a
// reference "Rivez.rc:<n>", and the template (RCDATA "VIVIDUDO") that maps each reference to its
// English text. The catalogue lists every reference of the template with the translation that the
// source catalogue gives for its English text (empty, so English, when it has none), after the
// source's language line and code page.
#include "mfc/ResourceScript.h"
#include "win32/Utf.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        std::cerr << "LangLibGen: cannot read " << path << "\n";
        std::exit(1);
    }
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
    {
        std::cerr << "LangLibGen: cannot write " << path << "\n";
        std::exit(1);
    }
}

// C escapes, as catalogues keep their texts.
std::string Escape(const CString& text)
{
    std::string out;
    for (char c : WideToUtf8(text.str()))
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Quoted(const CString& text)
{
    return "\"" + Escape(text) + "\"";
}

class CGenerator
{
public:
    std::set<UINT> menus, dialogs;
    std::vector<std::pair<UINT, UINT>> stringRanges;
    std::vector<std::pair<unsigned, std::string>> refs; // reference, English text (escaped)
    std::string script;

    // A reference for a text; empty texts stay empty.
    std::string Ref(const CString& text)
    {
        if (text.IsEmpty())
            return "\"\"";
        const unsigned n = unsigned(refs.size()) + 1;
        refs.emplace_back(n, Escape(text));
        return "\"Rivez.rc:" + std::to_string(n) + "\"";
    }

    static std::string Name(const CResourceName& name)
    {
        return name.IsInt() ? std::to_string(name.GetID()) : Quoted(CString(name.GetName().c_str()));
    }

    static std::string Style(const AFX_STYLE_WORDS& style)
    {
        std::string out;
        auto add = [&](const std::string& part) { out += (out.empty() ? "" : " | ") + part; };
        for (const CString& w : style.words)
            add(WideToUtf8(w.str()));
        for (const CString& w : style.notWords)
            add("NOT " + WideToUtf8(w.str()));
        if (style.dwBits || out.empty())
        {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%X", unsigned(style.dwBits));
            add(hex);
        }
        return out;
    }

    static bool HasStyle(const AFX_STYLE_WORDS& style)
    {
        return !style.words.empty() || !style.notWords.empty() || style.dwBits;
    }

    void Items(const std::vector<AFX_MENU_ITEM>& items, const std::string& indent)
    {
        for (const AFX_MENU_ITEM& item : items)
        {
            if (item.bSeparator)
            {
                script += indent + "MENUITEM SEPARATOR\n";
                continue;
            }
            std::string options;
            auto opt = [&](BOOL on, const char* word)
            {
                if (on)
                    options += std::string(", ") + word;
            };
            opt(item.bChecked, "CHECKED");
            opt(item.bGrayed, "GRAYED");
            opt(item.bInactive, "INACTIVE");
            opt(item.bMenuBreak, "MENUBREAK");
            opt(item.bMenuBarBreak, "MENUBARBREAK");
            opt(item.bHelp, "HELP");
            if (item.bPopup)
            {
                script += indent + "POPUP " + Ref(item.strText) + options + "\n" + indent + "BEGIN\n";
                Items(item.items, indent + "    ");
                script += indent + "END\n";
            }
            else
                script += indent + "MENUITEM " + Ref(item.strText) + ", " + std::to_string(item.nID) +
                          options + "\n";
        }
    }

    void Dialog(const CResourceName& name, const AFX_DLG_TEMPLATE& dlg)
    {
        script += Name(name) + (dlg.bExtended ? " DIALOGEX " : " DIALOG ") + std::to_string(dlg.x) + ", " +
                  std::to_string(dlg.y) + ", " + std::to_string(dlg.cx) + ", " + std::to_string(dlg.cy) +
                  "\n";
        if (HasStyle(dlg.style))
            script += "STYLE " + Style(dlg.style) + "\n";
        if (HasStyle(dlg.exStyle))
            script += "EXSTYLE " + Style(dlg.exStyle) + "\n";
        if (!dlg.strCaption.IsEmpty())
            script += "CAPTION " + Ref(dlg.strCaption) + "\n";
        if (!dlg.strFontName.IsEmpty())
        {
            script += "FONT " + std::to_string(dlg.nFontSize) + ", " + Quoted(dlg.strFontName);
            if (dlg.bExtended)
                script +=
                    ", " + std::to_string(dlg.nFontWeight) + ", " + std::to_string(dlg.bFontItalic ? 1 : 0);
            script += "\n";
        }
        if (!(dlg.menu.IsInt() && dlg.menu.GetID() == 0))
            script += "MENU " + Name(dlg.menu) + "\n";
        if (!dlg.strClass.IsEmpty())
            script += "CLASS " + Quoted(dlg.strClass) + "\n";
        script += "BEGIN\n";
        for (const AFX_DLG_CONTROL& c : dlg.controls)
        {
            const std::string kw = WideToUtf8(c.strKeyword.str());
            const std::string place = std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
                                      std::to_string(c.cx) + ", " + std::to_string(c.cy);
            const std::string ex = HasStyle(c.exStyle) ? ", " + Style(c.exStyle) : "";
            const std::string id = std::to_string(c.nID);
            if (kw == "CONTROL")
                script += "    CONTROL " + Ref(c.strText) + ", " + id + ", " + Quoted(c.strClass) + ", " +
                          Style(c.style) + ", " + place + ex + "\n";
            else if (kw == "ICON")
                script += "    ICON " + Quoted(c.strText) + ", " + id + ", " + place + ", " + Style(c.style) +
                          ex + "\n";
            else if (kw == "EDITTEXT" || kw == "LISTBOX" || kw == "COMBOBOX" || kw == "SCROLLBAR")
                script += "    " + kw + " " + id + ", " + place + ", " + Style(c.style) + ex + "\n";
            else
                script += "    " + kw + " " + Ref(c.strText) + ", " + id + ", " + place + ", " +
                          Style(c.style) + ex + "\n";
        }
        script += "END\n";
    }

    void Build(const std::vector<CResourceScript>& inputs)
    {
        std::map<UINT, CString> strings;
        std::set<UINT> menusDone, dialogsDone;
        for (const CResourceScript& rc : inputs)
        {
            for (const auto& [id, text] : rc.GetStrings())
                for (const auto& [first, last] : stringRanges)
                    if (id >= first && id <= last)
                        strings.emplace(id, text);
            for (const auto& [name, menu] : rc.GetMenus())
                if (name.IsInt() && menus.count(name.GetID()) && menusDone.insert(name.GetID()).second)
                {
                    script += Name(name) + " MENU\nBEGIN\n";
                    Items(menu.items, "    ");
                    script += "END\n";
                }
            for (const auto& [name, dlg] : rc.GetDialogs())
                if (name.IsInt() && dialogs.count(name.GetID()) && dialogsDone.insert(name.GetID()).second)
                    Dialog(name, dlg);
        }
        if (!strings.empty())
        {
            script += "STRINGTABLE\nBEGIN\n";
            for (const auto& [id, text] : strings)
                script += "    " + std::to_string(id) + " " + Ref(text) + "\n";
            script += "END\n";
        }
    }

    std::string Template() const
    {
        std::string out;
        for (const auto& [n, english] : refs)
            out += "#: Rivez.rc:" + std::to_string(n) + "\nmsgid \"" + english + "\"\n\n";
        return out;
    }
};

// The source catalogue: English text (escaped, as written) to translation, and the code page entry.
struct SourceCatalogue
{
    std::map<std::string, std::string> texts;
    std::string language; // the translation of the language line
    std::string codepage = "65001";
};

SourceCatalogue ReadSource(const std::string& text)
{
    SourceCatalogue source;
    std::istringstream in(text);
    std::string line, comment, english, translation;
    std::string* open = nullptr;
    auto close = [&]
    {
        if (english == "LANG_ENGLISH, SUBLANG_ENGLISH_US")
            source.language = translation;
        else if (comment == "Codepage")
            source.codepage = translation;
        else if (!english.empty())
            source.texts[english] = translation;
        english.clear();
        translation.clear();
        comment.clear();
        open = nullptr;
    };
    while (std::getline(in, line))
    {
        if (line.rfind("#.", 0) == 0)
        {
            const size_t b = line.find_first_not_of(" \t", 2);
            const size_t e = line.find_last_not_of(" \t\r");
            comment = b == std::string::npos ? std::string() : line.substr(b, e - b + 1);
        }
        else if (line.rfind("msgid ", 0) == 0)
            open = &english;
        else if (line.rfind("msgstr ", 0) == 0)
            open = &translation;
        const size_t first = line.find('"'), last = line.rfind('"');
        if (open && first != std::string::npos && last != first)
            open->append(line, first + 1, last - first - 1);
        else if (open)
            close();
    }
    close();
    return source;
}

std::string Catalogue(const CGenerator& gen, const SourceCatalogue& source)
{
    std::string out = "# Made by the build from the template of the language library; edit the source "
                      "catalogue instead.\n"
                      "msgid \"\"\nmsgstr \"\"\n\"MIME-Version: 1.0\\n\"\n"
                      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                      "\"Content-Transfer-Encoding: 8bit\\n\"\n\n"
                      "msgid \"LANG_ENGLISH, SUBLANG_ENGLISH_US\"\nmsgstr \"" +
                      source.language + "\"\n\n#. Codepage\nmsgid \"1252\"\nmsgstr \"" + source.codepage +
                      "\"\n\n";
    // One entry per English text, with all its references.
    std::vector<std::string> order;
    std::map<std::string, std::vector<unsigned>> refsOf;
    for (const auto& [n, english] : gen.refs)
    {
        if (!refsOf.count(english))
            order.push_back(english);
        refsOf[english].push_back(n);
    }
    for (const std::string& english : order)
    {
        for (unsigned n : refsOf[english])
            out += "#: Rivez.rc:" + std::to_string(n) + "\n";
        auto it = source.texts.find(english);
        out +=
            "msgid \"" + english + "\"\nmsgstr \"" + (it == source.texts.end() ? "" : it->second) + "\"\n\n";
    }
    return out;
}

std::string Bytes(const std::string& data)
{
    std::string out;
    char buf[8];
    for (unsigned char c : data)
    {
        std::snprintf(buf, sizeof buf, "%u,", c);
        out += buf;
    }
    return out + "0";
}
} // namespace

int main(int argc, char** argv)
{
    CGenerator gen;
    std::string out, module, version, catalogue, translations;
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string
        {
            if (i + 1 >= argc)
            {
                std::cerr << "LangLibGen: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--out")
            out = value();
        else if (arg == "--module")
            module = value();
        else if (arg == "--version")
            version = value();
        else if (arg == "--catalogue")
            catalogue = value();
        else if (arg == "--translations")
            translations = value();
        else if (arg == "--menu")
            gen.menus.insert(UINT(std::stoul(value())));
        else if (arg == "--dialog")
            gen.dialogs.insert(UINT(std::stoul(value())));
        else if (arg == "--strings")
        {
            const std::string range = value();
            const size_t dash = range.find('-');
            gen.stringRanges.emplace_back(
                UINT(std::stoul(range.substr(0, dash))),
                UINT(std::stoul(dash == std::string::npos ? range : range.substr(dash + 1))));
        }
        else
            scripts.push_back(arg);
    }
    if (out.empty() || module.empty() || version.empty() || scripts.empty())
    {
        std::cerr
            << "usage: LangLibGen --out <bundle.cpp> --module <name> --version a,b,c,d [--catalogue <out.po> "
               "--translations <source.po>] [--menu id] [--dialog id] [--strings first-last] script.rc...\n";
        return 2;
    }
    std::vector<CResourceScript> inputs(scripts.size());
    for (size_t i = 0; i < scripts.size(); ++i)
        inputs[i].Parse(scripts[i], ReadFile(scripts[i]), nullptr, 0);
    gen.Build(inputs);

    std::string dots = version;
    for (char& c : dots)
        if (c == ',')
            c = '.';
    const std::string rc =
        gen.script + "VIVIDUDO RCDATA \"VIVIDUDO.pot\"\n" + "1 VERSIONINFO\nFILEVERSION " + version +
        "\nPRODUCTVERSION " + version +
        "\nBEGIN\n    BLOCK \"StringFileInfo\"\n    BEGIN\n        BLOCK \"040904B0\"\n        BEGIN\n"
        "            VALUE \"FileVersion\", \"" +
        dots + "\"\n            VALUE \"InternalName\", \"" + module +
        "\"\n        END\n    END\n    BLOCK \"VarFileInfo\"\n    BEGIN\n"
        "        VALUE \"Translation\", 0x409, 1200\n    END\nEND\n";
    const std::string pot = gen.Template();
    WriteFile(out, "// Generated by LangLibGen; do not edit.\n#include \"mfc/ResourceModule.h\"\n"
                   "static const char kText[] = R\"QYRRC(" +
                       rc + ")QYRRC\";\nstatic const unsigned char kTemplate[] = {" + Bytes(pot) +
                       "};\nstatic const AFX_RESOURCE_FILE kFiles[] = {{\"VIVIDUDO.pot\", kTemplate, " +
                       std::to_string(pot.size()) + "}};\nstatic const AFX_RESOURCE_BUNDLE kBundle = {\"" +
                       module +
                       "\", kText, kFiles, 1};\nextern \"C\" __attribute__((visibility(\"default\"))) const "
                       "AFX_RESOURCE_BUNDLE* QyrResourceBundle()\n{\n    return &kBundle;\n}\n");
    if (!catalogue.empty())
        WriteFile(catalogue, Catalogue(gen, translations.empty() ? SourceCatalogue()
                                                                 : ReadSource(ReadFile(translations))));
    return 0;
}
