// Shape classes that a library above the diagram library adds to the base factory by type id.
// The base factory (CFODataModel::DoCreateShapeByType) makes a registered type with the class's
// default constructor when it has no case of its own for the id.
#pragma once

#include "mfc/Object.h"

// Adds or replaces the class of a type id; a null class takes the type away.
void FORegisterShapeType(UINT nType, CRuntimeClass* pClass);
// The class registered for the type id, or null.
CRuntimeClass* FOFindShapeType(UINT nType);
