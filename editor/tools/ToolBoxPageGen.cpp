// Writes the toolbox pages an installation starts with into "<install root>/Shapes/".
#include "editor/ToolBoxDefaults.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: ToolBoxPageGen <install root>\n");
        return 2;
    }
    const CString folder = CString::FromUtf8(argv[1]) + L"/Shapes/";
    if (!WriteDefaultToolBoxPages(folder))
    {
        std::fprintf(stderr, "ToolBoxPageGen: cannot write the toolbox pages under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
