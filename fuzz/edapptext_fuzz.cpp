// The editor's small text inputs: any bytes as "main.dat" (its last non-empty line), as a script
// the method chooser reads (UTF-16 or multibyte by its mark), and, taken as UTF-16, as the stored
// recent-project list.
#include "editor/FOProjectApp.h"
#include "editor/MethodChooseDlg.h"
#include "editor/QYRDrawApp.h"

#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/fuzz_edapptext." + std::to_string(getpid()) + ".dat";
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const CString wpath(std::wstring(path.begin(), path.end()).c_str());
    (void)CQYRDrawApp::ReadLastLine(wpath, TRUE);
    (void)CMethodChooseDlg::ReadScriptText(wpath);

    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
    CStringArray list;
    CFOProjectApp::SplitRecentProjects(CString(text.c_str()), list);
    return 0;
}
