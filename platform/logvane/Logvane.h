// The diagnostic log of the suite, configured by an XML file:
//
//   <logvane>
//     <output file="Logvane.log" level="info" console="false"/>
//   </logvane>
//
// file: the log file (a relative path is taken from the configuration file's folder; none: no file);
// level: "info" writes information and errors, "error" only errors, "off" nothing;
// console: "true" also writes every written line to standard error.
// A missing or unreadable configuration writes nowhere. Whatever the configuration, the last
// LOGVANE_CAPTURE_LINES messages are kept in memory, so that tests can read what was logged.
// Every function may be called from any thread.
#pragma once

#include "win32/WinTypes.h"

#include <string>
#include <vector>

#define LOGVANE_CAPTURE_LINES 2000

enum LogvaneLevel
{
    LOGVANE_LEVEL_OFF = 0,
    LOGVANE_LEVEL_ERROR = 1,
    LOGVANE_LEVEL_INFO = 2,
};

// Reads the configuration (a later call replaces the earlier one). Returns FALSE when the
// configuration could not be read or its log file could not be opened; logging goes on in memory.
BOOL Logvane_Init(LPCWSTR configPath);
// Closes the log file; the in-memory lines stay.
void Logvane_Term();
// printf-style wide formats with MFC's conventions (%s is a wide string).
void Logvane_Info(LPCWSTR format, ...);
void Logvane_Error(LPCWSTR format, ...);
void Logvane_Write(LogvaneLevel level, LPCWSTR text);

// The level and file that the last Logvane_Init configured.
LogvaneLevel Logvane_GetLevel();
std::wstring Logvane_GetFilePath();

// The messages kept in memory, oldest first, without time stamp or level.
std::vector<std::wstring> Logvane_GetCapturedLines();
void Logvane_ClearCaptured();

#define XVKLOG_INIT(path) Logvane_Init(path)
#define XVKLOG_INFO(fmt, ...) Logvane_Info(fmt __VA_OPT__(, ) __VA_ARGS__)
#define XVKLOG_ERROR(fmt, ...) Logvane_Error(fmt __VA_OPT__(, ) __VA_ARGS__)
#define XVKLOG_TERM() Logvane_Term()
