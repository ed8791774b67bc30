// Takes an arbitrary buffer as the program folder's "main.dat" and reads its project line as start-up
// does, then takes the same bytes (as UTF-8) as a command line. A crash, a sanitizer report, a
// project line that is only blanks, or more paths than bytes is a finding. Seeds in
// corpus/startup/ are "main.dat" files of the forms the programs write and meet.
#include "foundation/CmdLineParser.h"
#include "foundation/ProjectArgument.h"
#include "mfc/ModalHook.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_startup: %s\n", what);
    std::abort();
}

// One file per process, rewritten for each input.
const std::string& MainDatPath()
{
    static const std::string path = []
    {
        char dir[] = "/tmp/fuzz_startup_XXXXXX";
        const char* made = mkdtemp(dir);
        return std::string(made ? made : "/tmp") + "/main.dat";
    }();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool hooked = []
    {
        // "Invalid argument = %s" is answered as a user would.
        AfxSetModalHook([](const AfxModalRequest&) { return IDOK; });
        return true;
    }();
    (void)hooked;
    const std::string& path = MainDatPath();
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    CString line;
    if (CProjectArgument::ReadLastProjectLine(CString::FromUtf8(path), line))
    {
        CString trimmed = line;
        trimmed.Trim();
        if (trimmed.IsEmpty())
            Fail("a line of blanks names a project");
        CString folder, file;
        CProjectArgument::Parse(line, L"/opt/quendrel/User/", folder, file);
    }

    const CString text = CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const CCmdLineParser parser(static_cast<LPCWSTR>(text));
    if (parser.GetPathCount() > int(size))
        Fail("more paths than bytes");
    return 0;
}
