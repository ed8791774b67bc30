// The seam between the record dialogs (a state's or a value range's list of action items) and the
// small editors of one item's value: the record dialogs hand over the code and what the editor
// offers, and get the code and the new value back.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "win32/WinTypes.h"

class CWnd;
class CFOTypedShapeObList;

struct CActionItemRequest
{
    // In and out: the action code ("C_C", "F_T", "H_H", "L_S"...).
    CString strCode;
    // In when editing, out on OK.
    CString strValue;
    BOOL bEdit = FALSE;
    // The names (keys 1) of the composite's child shapes, offered by the editors.
    const CStringArray* pChildNames = nullptr;
    // The child shapes themselves (not owned), for the hide editors' preview.
    const CFOTypedShapeObList* pChildShapes = nullptr;
    // The shape's state string, for the state-change item.
    CString strStateString;
};

// Whether an editor exists for the code.
BOOL HasActionItemEditor(const CString& strCode);
// Runs the code's editor; TRUE on OK with strCode and strValue set. FALSE on Cancel, or when the
// code has no editor (nothing changed).
BOOL RunActionItemEditor(CWnd* pParent, CActionItemRequest& request);
