#include "skin/data/IniFile.h"

namespace kt {

namespace {
char Up(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
char Low(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
bool Blank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Up(a[i]) != Up(b[i])) return false;
    return true;
}

std::string UpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = Up(c);
    return r;
}

std::string LowerAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = Low(c);
    return r;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
    return s;
}

bool TryStrToInt(std::string_view s, std::int32_t& out) {
    s = TrimBlanks(s);
    bool neg = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        neg = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return false;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > std::int64_t(INT32_MAX) + 1) return false;
    }
    if (neg) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = std::int32_t(v);
    return true;
}

void TIniText::Load(std::string_view text) {
    sections_.clear();
    order_.clear();
    Section* current = nullptr;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::string_view line = TrimBlanks(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            std::string_view name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            sections_.push_back({std::string(TrimBlanks(name)), {}});
            order_.push_back(sections_.back().name);
            current = &sections_.back();
            continue;
        }
        if (!current) continue;  // lines before the first section belong to none
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        current->keys.emplace_back(std::string(TrimBlanks(line.substr(0, eq))),
                                   std::string(TrimBlanks(line.substr(eq + 1))));
    }
}

const TIniText::Section* TIniText::Find(std::string_view section) const {
    for (const auto& s : sections_)
        if (SameTextAscii(s.name, section)) return &s;
    return nullptr;
}

const std::string* TIniText::Value(std::string_view section, std::string_view key) const {
    const Section* s = Find(section);
    if (!s) return nullptr;
    for (const auto& kv : s->keys)
        if (SameTextAscii(kv.first, key)) return &kv.second;
    return nullptr;
}

bool TIniText::ValueExists(std::string_view section, std::string_view key) const {
    return Value(section, key) != nullptr;
}

std::string TIniText::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const std::string* v = Value(section, key);
    return v ? *v : std::string(def);
}

std::int32_t TIniText::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
    const std::string* v = Value(section, key);
    std::int32_t r;
    return (v && TryStrToInt(*v, r)) ? r : def;
}

}  // namespace kt
