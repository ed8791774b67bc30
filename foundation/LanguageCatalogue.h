// The texts of a language: a template that maps reference numbers to English texts and a ".po"
// catalogue that maps English texts to translations, read into one table indexed by reference.
// Invariant: after a successful ReadCatalogue every entry the template named holds its translation,
// decoded; after a failed one the caller discards the table. Reference numbers stay below
// kMaxReference, so hostile input cannot make the table huge.
#pragma once

#include "win32/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

class CLanguageCatalogue
{
public:
    enum
    {
        kMaxReference = 0x10000, // a reference at or above it is refused
        kTemplateLine = 1024,    // a template line this long ends the template
        kCatalogueLine = 1023    // a longer catalogue line is read as several
    };

    // Reads the template. FALSE when it names a reference out of range.
    BOOL ReadTemplate(std::string_view text);
    // Reads a catalogue over the template's table. TRUE when every reference of the template was
    // listed once and its English text matched, and the catalogue's code page can decode every text.
    BOOL ReadCatalogue(std::string_view text);

    const std::vector<std::string>& GetTable() const { return m_table; }
    unsigned GetCodePage() const { return m_codepage; }
    int GetUnresolved() const { return m_unresolved; }
    int GetMismatched() const { return m_mismatched; }
    void Clear();

    // Decodes C escapes of a translation; a trail byte of a double-byte code page is never an escape.
    static std::string Decode(std::string_view text, unsigned codepage);
    // The language a catalogue names in the line after its English marker; 0 when none.
    static LANGID ReadCatalogueLanguage(std::string_view text);
    // A Windows language by its LANG_ and SUBLANG_ names (without prefixes); 0 when not known.
    static LANGID LookupLanguageName(std::string_view primary, std::string_view sub);
    // A reference "Rivez.rc:<n>" at the start of a text; 0 when there is none.
    static unsigned ReadReference(const wchar_t* text);

private:
    struct Entry;
    void CloseEntry(Entry& e, bool catalogue);

    std::vector<std::string> m_table;
    unsigned m_codepage = 0;
    int m_unresolved = 0;
    int m_mismatched = 0;
    bool m_outOfRange = false;
};
