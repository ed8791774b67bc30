// Shape classes that a library above the diagram library adds to the base factory by type id.
// The base factory (CFODataModel::DoCreateShapeByType) makes a registered type with its maker when
// it has no case of its own for the id.
#pragma once

#include "win32/WinTypes.h"

class CFODrawShape;

// A new shape with no reference taken.
typedef CFODrawShape* (*FOShapeMaker)();

// Adds or replaces the maker of a type id; a null maker takes the type away.
void FORegisterShapeType(UINT nType, FOShapeMaker pfnMake);
// The maker registered for the type id, or null.
FOShapeMaker FOFindShapeType(UINT nType);
