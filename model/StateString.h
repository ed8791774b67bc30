// The editor's view of the state text: the grammar's reader and writer live with the shapes
// (figkit/FOStateText.h); this namespace names them for the behaviour dialogs and adds the
// runtime's True/False choice.
#pragma once

#include "figkit/FOStateText.h"

class CFODrawShape;

namespace StateString
{
using FOStateText::Item;
using FOStateText::Record;

using FOStateText::FormatColor;
using FOStateText::FormatMenuBody;
using FOStateText::FormatRangeKey;
using FOStateText::JoinFields;
using FOStateText::JoinItems;
using FOStateText::JoinRecords;
using FOStateText::NextFreeStateName;
using FOStateText::ParseColor;
using FOStateText::ParseMenuBody;
using FOStateText::ParseRangeKey;
using FOStateText::SplitFields;
using FOStateText::SplitItems;
using FOStateText::SplitRecords;

// The runtime's choice for a bound value: a shape with a state string whose state list holds more
// than one state goes to "True" (bOn) or "False"; TRUE when it did. Otherwise the value is left to
// the caller's ordinary handling and FALSE is returned.
BOOL SelectTrueFalseState(CFODrawShape* pShape, BOOL bOn);
} // namespace StateString
