#pragma once

// What the Windows back-ends hand the OS's file functions, which they call by
// their generic names (CreateFile, FindFirstFile, WIN32_FIND_DATA). The DLL's
// copy of the platform library is built without UNICODE: those are the ANSI
// functions, which take its code-page-1252 bytes as they stand. The report's
// copy is built with UNICODE: they are the wide functions, and its UTF-8 is
// converted, so that it reaches every name Windows can give a file.

#include <windows.h>

#include <string>

#ifdef UNICODE

// The path in UTF-16; from MAX_PATH characters on, its full form behind
// "\\?\", which lifts that limit. Empty, which every file function refuses,
// when path is not UTF-8 or holds a zero byte, which would end it early: a
// name never turns into another one.
std::wstring OsPath(const std::string& path);
// A name or path the OS gave, in UTF-8.
std::string TextOf(const wchar_t* text);

#else

inline const std::string& OsPath(const std::string& path) { return path; }
inline const char* TextOf(const char* text) { return text; }

#endif
