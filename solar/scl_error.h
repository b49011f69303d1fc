#pragma once
// The library error report shared by every module of the solar routine library.
//
// An argument outside its range is a programming error of the caller: the report writes one line
// to "SCL.dbg" in the current folder, closes every open stream and ends the process. It never
// returns. The message text for a code comes from "scl.err", looked up first in the current
// folder and then in the program folder (the location picker moves the current folder, so the
// program folder has to be the fallback).
//
// The process ends with status SCL_EXIT_STATUS, never 0: a caller or a script must not take a
// fatal argument error for success.

#include <string>

inline constexpr int SCL_EXIT_STATUS = 70;  // EX_SOFTWARE: internal software error

// Writes "SCL.dbg" for `code` raised at `line` of `source_file` (folders are dropped from the
// name) and ends the process.
[[noreturn]] void SCL_ReportError(unsigned code, const char* source_file, int line);

// The message text of `code` as the report would show it: the text of the first line of the
// error text file at `path` that carries the code, "Unknown error" when no line does and
// "Error file not found" when the file cannot be opened.
std::string SCL_LookupMessage(unsigned code, const char* path);

// The range checks of the library: `cond` false raises `code` at this source line.
#define SCL_CHECK(cond, code)                                   \
    do {                                                        \
        if (!(cond)) SCL_ReportError((code), __FILE__, __LINE__); \
    } while (0)
