#include "app/core/KeyNames.h"

namespace kt {

namespace {
char Up(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Up(a[i]) != Up(b[i])) return false;
    return true;
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Up(c);
    return out;
}

int FunctionKeyNumber(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || Up(name[0]) != 'F' || name[1] == '0') return 0;
    int n = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace kt
