// A text file of lines in UTF-16 little-endian or in a multibyte code page, with byte-order marks.
// Files are always opened in binary mode; line ends are handled here.
#pragma once

#include "mfc/File.h"

#include <string>

class CStdioFileEx : public CStdioFile
{
public:
    // Open flag: read and write UTF-16 text.
    static constexpr UINT modeWriteUnicode = 0x200000;

    CStdioFileEx();
    // Opens the file or throws CFileException*.
    CStdioFileEx(LPCWSTR fileName, UINT openFlags);
    ~CStdioFileEx() override;

    // Opened for reading (neither create nor write-only), the first two bytes decide: FF FE is
    // UTF-16, anything else (a file shorter than two bytes too) multibyte text.
    BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    // At position 0 with the write-mark flag set, first writes FF FE (UTF-16) or EF BB BF (code
    // page 65001). The text is written as it is, without a line end.
    void WriteString(LPCWSTR text) override;
    // One line without its LF and a CR before it; FALSE at the end of the file. A byte-order mark
    // at the start of the file is skipped when it is really there.
    BOOL ReadString(CString& line) override;
    // Up to maxChars - 1 characters, stopping after the LF, which is kept (a CR before it is not);
    // the rest of a longer line comes with the next call. Null at the end of the file.
    LPWSTR ReadString(LPWSTR buffer, UINT maxChars) override;

    // -1: the system ANSI code page, taken at each conversion.
    void SetCodePage(int codePage) { m_nFileCodePage = codePage; }
    int GetCodePage() const { return m_nFileCodePage; }
    // The character written for characters that the code page cannot hold.
    void SetFillerChar(char filler) { m_cFillerChar = filler; }
    void SetWriteBOM(bool writeBOM = true) { m_bWriteBOM = writeBOM; }
    BOOL IsFileUnicodeText() const { return m_bIsUnicodeText; }

    // Whether the file begins with FF FE.
    static BOOL IsFileUnicode(LPCWSTR fileName);
    // The default ANSI code page of the user's locale.
    static UINT GetCurrentLocaleCodePage();

    // Code page conversions (-1: the system ANSI code page). With a null output they return the
    // length needed; otherwise the length written. Lengths count without a terminator.
    static int MultiByteToWide(LPCSTR text, int bytes, LPWSTR out, int outChars, int codePage = -1);
    static int WideToMultiByte(LPCWSTR text, int chars, LPSTR out, int outBytes, int codePage = -1,
                               char filler = '#');
    static std::wstring MultiByteToWide(const std::string& text, int codePage = -1);
    static std::string WideToMultiByte(const std::wstring& text, int codePage = -1, char filler = '#');

private:
    UINT EffectiveCodePage() const;
    // One raw line (without its LF); false at the end of the file.
    bool ReadRawLine(std::wstring& line, bool& hadLineFeed);
    void SkipMark();

    BOOL m_bIsUnicodeText = FALSE;
    int m_nFileCodePage = -1;
    char m_cFillerChar = '#';
    bool m_bWriteBOM = true;
    UINT m_nFlags = 0;
    bool m_bAtStart = false;
    std::wstring m_pending; // the rest of a line that a buffer read could not take
    std::string m_byteLine;
    std::u16string m_wideLine;
};
