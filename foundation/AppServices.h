// Where the options and log code find the current application's options store and log file:
// GetOptionsMgr, GetLog and SetAppServices, declared with their classes.
#pragma once

#include "foundation/LogFile.h"
#include "foundation/OptionsMgr.h"
