// Objects that belong to exactly one owner (a shape's properties, ports and children, a model's
// shapes) are stored as their class tag followed by their record, never as object references: a
// file then cannot make two owners share one object.
#pragma once

#include "mfc/Object.h"

class CArchive;

// The class tag of the object, then its Serialize.
void FOWriteOwnedObject(CArchive& ar, const CObject& ob);
// A new object of a class derived from pBaseClass, loaded from its record; the caller owns it.
// A reference tag, an unknown class or one not derived from pBaseClass throws CArchiveException;
// so does nesting deeper than FO_MAX_OWNED_DEPTH.
CObject* FOReadOwnedObject(CArchive& ar, const CRuntimeClass* pBaseClass);

#define FO_MAX_OWNED_DEPTH 200

// Each class's part of a record starts with its own version: written as nCurrent, and on loading
// anything from 1 to nCurrent is accepted (other values throw CArchiveException badSchema).
int FOSerializeVersion(CArchive& ar, int nCurrent);
