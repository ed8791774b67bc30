// Helpers shared by the VARIANT and SAFEARRAY sources; not part of the interface.
#pragma once

#include "com/Variant.h"

namespace ComPriv
{
bool IsValidVarType(VARTYPE vt);
// Bytes of a plain value type (0 for strings, interfaces and other kinds).
size_t ScalarSize(VARTYPE base);
} // namespace ComPriv
