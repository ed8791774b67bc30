// Script files: any bytes through the loader, then every line coloured with the state carried on.
#include "scripteditor/ScriptSyntax.h"
#include "scripteditor/ScriptTextBuffer.h"

#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/fuzz_scriptfile." + std::to_string(getpid()) + ".uscp";
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    CScriptTextBuffer buffer;
    const std::wstring wpath(path.begin(), path.end());
    if (buffer.LoadFile(wpath.c_str()))
    {
        DWORD cookie = 0;
        std::vector<TEXTBLOCK> blocks;
        for (int i = 0; i < buffer.GetLineCount(); ++i)
        {
            blocks.clear();
            cookie = ParseScriptLine(cookie, buffer.GetLineChars(i), buffer.GetLineLength(i), &blocks);
        }
        buffer.SaveFile(wpath.c_str(), -1, TRUE);
    }
    return 0;
}
