// Script buffers in tests: their text with "|" between lines, and text loaded as from a file, so that
// the history starts after it.
#pragma once

#include "scripteditor/ScriptTextBuffer.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

inline std::wstring BufferText(const CScriptTextBuffer& b)
{
    CString s;
    b.GetTextRange(0, 0, b.GetLineCount() - 1, b.GetLineLength(b.GetLineCount() - 1), s, L"|");
    return s.str();
}

inline void LoadText(CScriptTextBuffer& b, const std::wstring& text)
{
    CScriptTextBuffer init;
    init.InitEmpty();
    int l = 0, c = 0;
    init.InsertText(nullptr, 0, 0, text, l, c);
    QTemporaryDir dir;
    const std::wstring path = QDir(dir.path()).filePath("set.uscp").toStdWString();
    ASSERT_TRUE(init.SaveFile(path.c_str()));
    ASSERT_TRUE(b.LoadFile(path.c_str()));
}
