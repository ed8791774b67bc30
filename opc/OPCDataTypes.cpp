#include "opc/OPCDataTypes.h"

#include "mfc/ComboBoxCtl.h"

#include <iterator>

namespace
{
struct DataType
{
    const wchar_t* text;
    VARTYPE vt;
};

const DataType kTypes[] = {
    {L"Native (VT_EMPTY)", VT_EMPTY},
    {L"Integer (VT_INT)", VT_INT},
    {L"1 byte integer (VT_I1)", VT_I1},
    {L"2 byte integer (VT_I2)", VT_I2},
    {L"4 byte integer (VT_I4)", VT_I4},
    {L"8 byte integer (VT_I8)", VT_I8},
    {L"Unsigned integer (VT_UINT)", VT_UINT},
    {L"1 byte unsigned integer (VT_UI1)", VT_UI1},
    {L"2 byte unsigned integer (VT_UI2)", VT_UI2},
    {L"4 byte unsigned integer (VT_UI4)", VT_UI4},
    {L"8 byte unsigned integer (VT_UI8)", VT_UI8},
    {L"4 byte real (VT_R4)", VT_R4},
    {L"8 byte real (VT_R8)", VT_R8},
    {L"Currency (VT_CY)", VT_CY},
    {L"Date (VT_DATE)", VT_DATE},
    {L"String (VT_BSTR)", VT_BSTR},
    {L"Boolean (VT_BOOL)", VT_BOOL},
    {L"Decimal (VT_DECIMAL)", VT_DECIMAL},
};
} // namespace

int OPCDataTypeCount()
{
    return int(std::size(kTypes));
}

CString OPCDataTypeText(int position)
{
    return position >= 0 && position < OPCDataTypeCount() ? CString(kTypes[position].text) : CString();
}

VARTYPE OPCDataTypeFromPosition(int position)
{
    return position >= 0 && position < OPCDataTypeCount() ? kTypes[position].vt : VARTYPE(VT_EMPTY);
}

int OPCPositionFromDataType(VARTYPE type)
{
    for (int i = 0; i < OPCDataTypeCount(); ++i)
    {
        if (kTypes[i].vt == type)
            return i;
    }
    return -1;
}

void OPCFillDataTypeCombo(CComboBox& combo, LPCWSTR firstText)
{
    combo.ResetContent();
    for (int i = 0; i < OPCDataTypeCount(); ++i)
        combo.AddString(i == 0 && firstText ? firstText : kTypes[i].text);
}
