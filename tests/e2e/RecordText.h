// The records ktdrive prints are one line each, fields apart by tabs: a text in them has its
// tabs, line breaks and backslashes escaped (ktharness.unescape reads it back).
#pragma once
#include <string>

namespace ktrecord {

inline std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

}  // namespace ktrecord
