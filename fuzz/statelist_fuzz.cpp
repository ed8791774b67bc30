// Any text through the list editors' reading and writing: a record list untouched comes back as it
// was; an item list comes back without its empty items and stays so when read again. The keys and
// bodies the dialogs open (range keys, menu bodies, fields, colours) are read as they would be.
#include "behaviour/StateListDlg.h"
#include "model/StateString.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring wide;
    for (size_t i = 0; i + 1 < size; i += 2)
        wide.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
    const CString text(wide.c_str());

    const std::vector<CStateListRow> records = StateListText::Read(text, StateListLevel::Records);
    if (StateListText::Write(records, StateListLevel::Records) != text)
        std::abort();
    for (const CStateListRow& row : records)
    {
        double lower = 0, upper = 0;
        (void)StateString::ParseRangeKey(row.strKey, lower, upper);
        UINT type = 0;
        CString event;
        StateString::ParseMenuBody(row.strBody, type, event);
        (void)StateString::FormatMenuBody(type, event);
    }

    const CString items =
        StateListText::Write(StateListText::Read(text, StateListLevel::Items), StateListLevel::Items);
    const std::vector<CStateListRow> again = StateListText::Read(items, StateListLevel::Items);
    if (StateListText::Write(again, StateListLevel::Items) != items)
        std::abort();
    for (const CStateListRow& row : again)
    {
        const std::vector<CString> fields = StateString::SplitFields(row.strBody);
        COLORREF cr = 0;
        if (fields.size() > 1 && StateString::ParseColor(fields[1], cr) &&
            StateString::FormatColor(cr).CompareNoCase(fields[1]) != 0)
            std::abort();
    }
    return 0;
}
