#pragma once

#include <string>

enum class Language { German, English };

// The language a locale name asks for ("de_DE.UTF-8", "en_GB", "C"): German
// for German, English for any other language named, and German when none is
// named (unset, "C" or "POSIX"), as everything else foldscan shows is German.
Language LanguageOfLocale(const std::string& locale);

// The language that "de" or "en" names; false for anything else.
bool ParseLanguage(const std::string& name, Language& language);
