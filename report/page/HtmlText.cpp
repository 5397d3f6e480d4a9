#include "report/page/HtmlText.h"

#include "report/text/Utf8.h"

std::string HtmlText(const std::string& utf8) {
    std::string out;
    for (char c : Printable(utf8)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}
