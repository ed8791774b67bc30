#include "foundation/OptionsMgr.h"

#include "win32/Registry.h"
#include "win32/System.h"

#include <vector>

namespace
{

const wchar_t kRootKey[] = L"Brindlecote\\Corvane\\";
const wchar_t kFullRootKey[] = L"Software\\Brindlecote\\Corvane\\";

// Copies one value from the machine's options to the user's when the user has none yet.
void CopyMachineValue(LPCWSTR subKey, LPCWSTR valueName)
{
    HKEY userKey = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &userKey, &disposition) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(userKey, valueName, nullptr, &type, nullptr, &size) == ERROR_FILE_NOT_FOUND)
    {
        HKEY machineKey = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &machineKey) == ERROR_SUCCESS)
        {
            size = 0;
            if (RegQueryValueExW(machineKey, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS)
            {
                std::vector<BYTE> data(size_t(size) + sizeof(wchar_t), 0);
                DWORD got = size;
                if (RegQueryValueExW(machineKey, valueName, nullptr, &type, data.data(), &got) ==
                    ERROR_SUCCESS)
                    RegSetValueExW(userKey, valueName, 0, type, data.data(), got);
            }
            RegCloseKey(machineKey);
        }
    }
    RegCloseKey(userKey);
}

struct BoolOption
{
    const wchar_t* name;
    bool value;
};
struct IntOption
{
    const wchar_t* name;
    int value;
};
struct StringOption
{
    const wchar_t* name;
    const wchar_t* value;
};

const BoolOption kBoolOptions[] = {
    {L"Settings/ShowUniqueLeft", true},
    {L"Settings/ShowUniqueRight", true},
    {L"Settings/ShowDifferent", true},
    {L"Settings/ShowIdentical", true},
    {L"Settings/ShowBinaries", true},
    {L"Settings/ShowSkipped", false},
    {L"Settings/ShowToolbar", true},
    {L"Settings/ShowStatusbar", true},
    {L"Settings/ShowTabbar", true},
    {L"Settings/AutoResizePanes", false},
    {L"Settings/HiliteSyntax", true},
    {L"Settings/WordWrap", false},
    {L"Settings/ViewLineNumbers", false},
    {L"Settings/DisableSplash", false},
    {L"Settings/ViewWhitespace", false},
    {L"Settings/ScrollToFirst", false},
    {L"Settings/VerifyOpenPaths", true},
    {L"Settings/ViewFileMargin", false},
    {L"Settings/BreakOnWords", true},
    {L"Settings/HiliteWordDiff", true},
    {L"Backup/EnableFolder", false},
    {L"Backup/EnableFile", true},
    {L"Backup/NameAddBak", true},
    {L"Backup/NameAddTime", false},
    {L"Settings/DirViewSortAscending", true},
    {L"Settings/DirViewEnableShellContextMenu", false},
    {L"Settings/ShowFileDialog", false},
    {L"Settings/AutomaticRescan", false},
    {L"Settings/AllowMixedEOL", false},
    {L"Settings/UseRecycleBin", true},
    {L"Settings/SingleInstance", false},
    {L"Settings/MergingMode", false},
    {L"Settings/CloseWithEsc", true},
    {L"Settings/IgnoreSmallFileTime", false},
    {L"Settings/AskClosingMultipleWindows", false},
    {L"Settings/PreserveFiletimes", false},
    {L"Settings/TreeMode", false},
    {L"Settings/IgnoreBlankLines", false},
    {L"Settings/FilterCommentsLines", false},
    {L"Settings/IgnoreCase", false},
    {L"Settings/IgnoreEol", false},
    {L"Settings/MovedBlocks", false},
    {L"Settings/MatchSimilarLines", false},
    {L"Settings/StopAfterFirst", false},
    {L"Settings/WalkUniqueDirs", true},
    {L"Settings/DefaultTextColoring", true},
    {L"Settings/UseSystemTempPath", true},
    {L"Settings/MultiDirDocs", false},
    {L"Settings/MultiMergeDocs", true},
    {L"Settings/IgnoreRegExp", false},
    {L"Settings/Filters/Shared", false},
    {L"Settings/CodepageDetection", false},
    {L"Zider7i/ProbeSignature", false},
    {L"Settings/PluginsEnabled", false},
    {L"Font/Specified", false},
    {L"FontDirCompare/Specified", false},
    {L"Font/Italic", false},
    {L"Font/Underline", false},
    {L"Font/StrikeOut", false},
    {L"FontDirCompare/Italic", false},
    {L"FontDirCompare/Underline", false},
    {L"FontDirCompare/StrikeOut", false},
};

const IntOption kIntOptions[] = {
    {L"Settings/ToolbarSize", 0},
    {L"Settings/ConnectMovedBlocks", 0},
    {L"Settings/AutoCompleteSource", 0},
    {L"Settings/BreakType", 0},
    {L"Backup/Location", 0},
    {L"Settings/DirViewSortCol", -1},
    {L"Settings/TabSize", 4},
    {L"Settings/TabType", 0},
    {L"Settings/IgnoreSpace", 0},
    {L"Settings/QuickMethodLimit", 4194304},
    {L"Settings/CodepageDefaultMode", 0},
    {L"Zider7i/Enable", 1},
    {L"Font/Height", -16},
    {L"FontDirCompare/Height", -16},
    {L"Font/Width", 0},
    {L"Font/Escapement", 0},
    {L"Font/Orientation", 0},
    {L"FontDirCompare/Width", 0},
    {L"FontDirCompare/Escapement", 0},
    {L"FontDirCompare/Orientation", 0},
    {L"Font/Weight", 400},
    {L"FontDirCompare/Weight", 400},
    {L"Font/OutPrecision", 1},
    {L"Font/ClipPrecision", 2},
    {L"Font/Quality", 1},
    {L"Font/PitchAndFamily", 49},
    {L"FontDirCompare/OutPrecision", 1},
    {L"FontDirCompare/ClipPrecision", 2},
    {L"FontDirCompare/Quality", 1},
    {L"FontDirCompare/PitchAndFamily", 49},
    // colours (COLORREF)
    {L"Settings/DifferenceColor", 0x0005CBEF},
    {L"Settings/DifferenceDeletedColor", 0x00C0C0C0},
    {L"Settings/SelectedDifferenceColor", 0x007477EF},
    {L"Settings/SelectedDifferenceDeletedColor", 0x00C0C0F0},
    {L"Settings/TrivialDifferenceColor", 0x00BFF2FB},
    {L"Settings/TrivialDifferenceDeletedColor", 0x00E9E9E9},
    {L"Settings/MovedBlockColor", 0x00529BE4},
    {L"Settings/MovedBlockDeletedColor", 0x00C0C0C0},
    {L"Settings/SelectedMovedBlockColor", 0x004E70F8},
    {L"Settings/SelectedMovedBlockDeletedColor", 0x00A3B5FC},
    {L"Settings/WordDifferenceColor", 0x00ADE2F1},
    {L"Settings/WordDifferenceDeletedColor", 0x0082AAFF},
    {L"Settings/SelectedWordDifferenceColor", 0x00A0A0FF},
    {L"Settings/SelectedWordDifferenceDeletedColor", 0x006C81C8},
    {L"Settings/DifferenceTextColor", 0},
    {L"Settings/SelectedDifferenceTextColor", 0},
    {L"Settings/TrivialDifferenceTextColor", 0},
    {L"Settings/MovedBlockTextColor", 0},
    {L"Settings/SelectedMovedBlockTextColor", 0},
    {L"Settings/WordDifferenceTextColor", 0},
    {L"Settings/SelectedWordDifferenceTextColor", 0},
};

const StringOption kStringOptions[] = {
    {L"Settings/HiliteBreakSeparators", L".,:;"},
    {L"Backup/GlobalFolder", L""},
    {L"Settings/ProjectsPath", L""},
    {L"Settings/CustomTempPath", L""},
    {L"Settings/FileFilterCurrent", L"*.*"},
    {L"Settings/VssPath", L""},
};

} // namespace

void OptionsInit(COptionsMgr* options)
{
    if (!options)
        return;

    const CString root(kFullRootKey);
    CopyMachineValue(root, L"ContextMenuEnabled");
    CopyMachineValue(root, L"Executable");
    CopyMachineValue(root + L"Locale", L"LanguageId");

    if (auto* regOptions = dynamic_cast<CRegOptionsMgr*>(options))
        regOptions->SetRootKey(kRootKey);

    options->RegisterOption(L"Locale/LanguageId", 1033);
    options->RegisterOption(L"Settings/Logging", 0);
    for (const BoolOption& o : kBoolOptions)
        options->RegisterOption(o.name, o.value);
    for (const IntOption& o : kIntOptions)
        options->RegisterOption(o.name, o.value);
    options->RegisterOption(L"Settings/CodepageDefaultCustomValue", int(GetACP()));
    for (const StringOption& o : kStringOptions)
        options->RegisterOption(o.name, o.value);

    // No code-page font service here: the plain defaults stand.
    const wchar_t* faceName = L"Courier New";
    const int charSet = 0;
    options->RegisterOption(L"Font/CharSet", charSet);
    options->RegisterOption(L"FontDirCompare/CharSet", charSet);
    options->RegisterOption(L"Font/FaceName", faceName);
    options->RegisterOption(L"FontDirCompare/FaceName", faceName);
}
