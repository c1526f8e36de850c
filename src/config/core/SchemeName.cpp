#include "config/core/SchemeName.h"

#include <cctype>
#include <string_view>

namespace kt {

namespace {

bool IsDeviceName(const std::string& name) {
    // The system takes "con.dat" or "nul .txt" for the device too: compare the part before
    // the first dot, without trailing blanks, in any letter case.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static constexpr std::string_view kPlain[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view d : kPlain)
        if (base == d) return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0))
        return base[3] >= '1' && base[3] <= '9';
    return false;
}

}  // namespace

std::string SchemeNameProblem(const std::string& name) {
    const std::string quoted = "\"" + name + "\"";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '/' || c == ':')
            return "Invalid scheme name " + quoted + " - it may not hold \\ / or :";
        if (c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' || u < 32)
            return "Invalid scheme name " + quoted + " - it may not hold * ? \" < > |";
    }
    if (name.find("..") != std::string::npos) return "Invalid scheme name " + quoted + " - it may not hold ..";
    if (IsDeviceName(name)) return "Invalid scheme name " + quoted + " - it is a device name";
    return {};
}

}  // namespace kt
