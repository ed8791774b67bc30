// The Win32 stand-in in one include.
#pragma once

#include "win32/WinTypes.h"
#include "win32/Utf.h"
#include "win32/Registry.h"
#include "win32/Profile.h"
#include "win32/Sync.h"
#include "win32/System.h"
#include "win32/Files.h"
