#include "report/text/Language.h"

Language LanguageOfLocale(const std::string& locale) {
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.compare(0, 2, "C.") == 0)
        return Language::German;
    if (locale.compare(0, 2, "de") == 0) return Language::German;
    return Language::English;
}

bool ParseLanguage(const std::string& name, Language& language) {
    if (name == "de") {
        language = Language::German;
        return true;
    }
    if (name == "en") {
        language = Language::English;
        return true;
    }
    return false;
}
