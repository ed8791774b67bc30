// The COM stand-in in one include.
#pragma once

#include "com/ComBase.h"
#include "com/Guid.h"
#include "com/Unknown.h"
#include "com/Bstr.h"
#include "com/Variant.h"
#include "com/SafeArray.h"
#include "com/ComUtil.h"
#include "com/ComError.h"
