// The state text: the one text form of a shape's named states, its value states and an option
// menu's entries. Records are joined by "@"; a record is its key, "$" and its body; a state or
// value-range body is a list of action items joined by "#"; an item is its code, "," and its value;
// a value's fields are joined by ",". Nothing is escaped or quoted, so a name holding one of these
// separators does not read back whole.
//
// This is the only reader of the grammar: the shapes' run-time state machinery (FOShapeState.h)
// and the editor's list helpers both build on it.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <vector>

// Action codes of state and value-range items.
#define STATE_CODE_FILL_COLOR L"C_C"
#define STATE_CODE_LINE_COLOR L"L_C"
#define STATE_CODE_FONT_COLOR L"L_F"
#define STATE_CODE_PATTERN_COLOR L"C_P"
#define STATE_CODE_FILL_TYPE L"F_T"
#define STATE_CODE_LINE_WIDTH L"L_W"
#define STATE_CODE_HIDE L"H_H"
#define STATE_CODE_LINK_STATE L"L_S"

namespace FOStateText
{
struct Record
{
    // What stands before the first "$"; empty for a record without one.
    CString strKey;
    // What stands after it; the whole record when it has no "$".
    CString strBody;
};

struct Item
{
    CString strCode;
    // The rest of the item after the code and one comma; keeps its own commas.
    CString strValue;
};

// Level 1 and 2: an empty text has no records.
std::vector<Record> SplitRecords(const CString& strText);
CString JoinRecords(const std::vector<Record>& records);

// Level 3 and 4: empty items are skipped when read.
std::vector<Item> SplitItems(const CString& strBody);
CString JoinItems(const std::vector<Item>& items);

// Level 5.
std::vector<CString> SplitFields(const CString& strValue);
CString JoinFields(const std::vector<CString>& fields);

// Six upper-case hex digits, red first; the colour read back is a COLORREF (red in the low byte).
// FALSE (and nothing set) for a text that is not six hex digits.
CString FormatColor(COLORREF cr);
BOOL ParseColor(const CString& strText, COLORREF& cr);

// The key of a value-range record: both bounds printed with no decimals, joined by ",".
CString FormatRangeKey(double dLower, double dUpper);
// FALSE when the key does not hold two numbers.
BOOL ParseRangeKey(const CString& strKey, double& dLower, double& dUpper);

// A menu entry's body: the event type, "#" and the event string trimmed ("None" when empty).
CString FormatMenuBody(UINT nEventType, const CString& strEvent);
// The event type (0 when it is not a number) and the event string of a body.
void ParseMenuBody(const CString& strBody, UINT& nEventType, CString& strEvent);

// "STATE_0", else the first "STATE_%u" from 1 up that is not among the names used.
CString NextFreeStateName(const std::vector<CString>& used);
} // namespace FOStateText
