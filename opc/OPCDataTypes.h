// The data-type lists of the picker and the item dialog: a list position stands for a VARTYPE.
#pragma once

#include "com/Variant.h"
#include "mfc/CString.h"

class CComboBox;

// The number of entries; positions run from 0 ("Native (VT_EMPTY)", type 0) to this minus one.
int OPCDataTypeCount();
// The entry's text ("Native (VT_EMPTY)" at 0); empty outside the list.
CString OPCDataTypeText(int position);
// No selection (-1) and any position outside the list give VT_EMPTY.
VARTYPE OPCDataTypeFromPosition(int position);
// The position of a listed type; -1 (no selection) for any other.
int OPCPositionFromDataType(VARTYPE type);
// Fills a combo box with the entries in order; firstText replaces the first entry's text.
void OPCFillDataTypeCombo(CComboBox& combo, LPCWSTR firstText = nullptr);
