#pragma once

#include <string>

// A UTF-8 text as HTML character data or attribute value: the five
// characters that mean something in HTML escaped, control characters shown
// as U+FFFD.
std::string HtmlText(const std::string& utf8);
