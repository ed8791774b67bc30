// Takes an arbitrary buffer as a language template and catalogue (split at the first "\n\f\n", else
// the fixed template below) and reads both, the language line and the escapes of every line. A crash,
// a sanitizer report, a table at or past the reference limit, or a successful read that left a
// reference unresolved is a finding. Seeds in corpus/catalogue/ are catalogues of the build's form.
#include "foundation/LanguageCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace
{
const std::string_view kTemplate =
    "#: Rivez.rc:1\nmsgid \"&File\"\n\n#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\n\n";

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_catalogue: %s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view tmpl = kTemplate, catalogue = input;
    const size_t split = input.find("\n\f\n");
    if (split != std::string_view::npos)
    {
        tmpl = input.substr(0, split + 1);
        catalogue = input.substr(split + 3);
    }
    CLanguageCatalogue cat;
    const BOOL tmplOk = cat.ReadTemplate(tmpl);
    const BOOL ok = cat.ReadCatalogue(catalogue);
    if (cat.GetTable().size() > size_t(CLanguageCatalogue::kMaxReference))
        Fail("table past the reference limit");
    if (ok && (!tmplOk || cat.GetUnresolved() != 0 || cat.GetMismatched() != 0))
        Fail("accepted with unresolved or mismatched references");
    CLanguageCatalogue::ReadCatalogueLanguage(input);
    for (unsigned cp : {0u, 932u, 65001u})
        if (CLanguageCatalogue::Decode(catalogue, cp).size() > catalogue.size())
            Fail("decoding made a text longer");
    return 0;
}
