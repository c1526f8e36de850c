#include "FakeLayouts.h"

#include <stdexcept>

namespace kt::test {

namespace {
// Windows-1252 bytes 0x80-0x9F; 0 marks bytes the code page leaves undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::int16_t TableLayout::KeyScan(unsigned char c) const {
    auto it = scan_.find(c);
    return it == scan_.end() ? std::int16_t(-1) : it->second;
}

std::u16string TableLayout::ToUtf16(unsigned char c) const {
    if (c >= 0x80 && c < 0xA0) {
        char16_t u = kCp1252High[c - 0x80];
        return u ? std::u16string(1, u) : std::u16string();
    }
    return std::u16string(1, static_cast<char16_t>(c));
}

void TableLayout::Add(unsigned char c, std::uint8_t vk, std::uint8_t state) {
    auto scan = static_cast<std::int16_t>(vk | (state << 8));
    scan_.emplace(c, scan);
    reverse_.emplace(scan, c);
}

std::u16string TableLayout::Replay(const std::vector<KeyEvent>& events) const {
    std::u16string typed;
    std::set<std::uint16_t> down;
    std::u16string pendingDead;  // the dead key waiting for the next character
    auto emit = [&](std::u16string s) {
        if (!pendingDead.empty()) {
            // A dead key followed by a character: only space gives the accent alone here;
            // anything else comes out combined, which is never the text that was meant.
            s = s == u" " ? pendingDead : u"\uFFFD";
            pendingDead.clear();
        }
        typed += s;
    };
    for (const KeyEvent& e : events) {
        if (e.unicode) {
            if (!e.up) emit(std::u16string(1, static_cast<char16_t>(e.code)));
            continue;
        }
        if (e.up) {
            if (!down.erase(e.code)) throw std::logic_error("key up without key down");
            continue;
        }
        if (!down.insert(e.code).second) throw std::logic_error("key down twice");
        if (e.code == kVkShift || e.code == kVkControl || e.code == kVkMenu) continue;
        std::uint8_t state = (down.count(kVkShift) ? kScanShift : 0) |
                             (down.count(kVkControl) ? kScanCtrl : 0) |
                             (down.count(kVkMenu) ? kScanAlt : 0);
        auto it = reverse_.find(static_cast<std::int16_t>(e.code | (state << 8)));
        if (it == reverse_.end()) continue;  // a key that gives no character in this state
        std::u16string ch = ToUtf16(it->second);
        if (dead_.count(it->first) && pendingDead.empty())
            pendingDead = ch;
        else
            emit(ch);
    }
    if (!down.empty()) throw std::logic_error("keys left down");
    return typed + pendingDead;
}

UsLayout::UsLayout() {
    // Control keys first: the Ctrl+letter entries below must not take their characters.
    Add(' ', 0x20);
    Add('\b', 0x08);
    Add('\t', kVkTab);
    Add('\r', kVkReturn);
    Add('\n', kVkReturn, kScanCtrl);
    Add(0x1B, 0x1B);
    Add(0x7F, 0x08, kScanCtrl);
    for (unsigned char c = 'a'; c <= 'z'; ++c) {
        Add(c, static_cast<std::uint8_t>(c - 'a' + 'A'));
        Add(static_cast<unsigned char>(c - 'a' + 'A'), static_cast<std::uint8_t>(c - 'a' + 'A'), kScanShift);
        Add(static_cast<unsigned char>(c - 'a' + 1), static_cast<std::uint8_t>(c - 'a' + 'A'), kScanCtrl);
    }
    const char* shiftedDigits = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
        Add(static_cast<unsigned char>('0' + d), static_cast<std::uint8_t>('0' + d));
        Add(static_cast<unsigned char>(shiftedDigits[d]), static_cast<std::uint8_t>('0' + d), kScanShift);
    }
    const struct { char plain, shifted; std::uint8_t vk; } oem[] = {
        {';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD}, {'.', '>', 0xBE},
        {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB}, {'\\', '|', 0xDC}, {']', '}', 0xDD},
        {'\'', '"', 0xDE}};
    for (auto& k : oem) {
        Add(static_cast<unsigned char>(k.plain), k.vk);
        Add(static_cast<unsigned char>(k.shifted), k.vk, kScanShift);
    }
}

GermanLayout::GermanLayout() {
    for (unsigned char c = 'a'; c <= 'z'; ++c) {
        Add(c, static_cast<std::uint8_t>(c - 'a' + 'A'));
        Add(static_cast<unsigned char>(c - 'a' + 'A'), static_cast<std::uint8_t>(c - 'a' + 'A'), kScanShift);
    }
    const char* shiftedDigits = "=!\"\xA7$%&/()";
    for (int d = 0; d < 10; ++d) {
        Add(static_cast<unsigned char>('0' + d), static_cast<std::uint8_t>('0' + d));
        Add(static_cast<unsigned char>(shiftedDigits[d]), static_cast<std::uint8_t>('0' + d), kScanShift);
    }
    const std::uint8_t altGr = kScanCtrl | kScanAlt;
    Add(0xB2, '2', altGr);
    Add(0xB3, '3', altGr);
    Add('{', '7', altGr);
    Add('[', '8', altGr);
    Add(']', '9', altGr);
    Add('}', '0', altGr);
    Add('@', 'Q', altGr);
    Add(0x80, 'E', altGr);  // euro sign
    Add(0xB5, 'M', altGr);  // micro sign
    const struct { unsigned char plain, shifted, altgr; std::uint8_t vk; } oem[] = {
        {0xFC, 0xDC, 0, 0xBA},      // u umlaut
        {'+', '*', '~', 0xBB},
        {',', ';', 0, 0xBC},
        {'-', '_', 0, 0xBD},
        {'.', ':', 0, 0xBE},
        {'#', '\'', 0, 0xBF},
        {0xF6, 0xD6, 0, 0xC0},      // o umlaut
        {0xDF, '?', '\\', 0xDB},    // sharp s
        {'^', 0xB0, 0, 0xDC},       // dead circumflex; the degree sign is not dead
        {0xB4, '`', 0, 0xDD},       // dead acute and grave
        {0xE4, 0xC4, 0, 0xDE},      // a umlaut
        {'<', '>', '|', 0xE2}};
    for (auto& k : oem) {
        Add(k.plain, k.vk);
        Add(k.shifted, k.vk, kScanShift);
        if (k.altgr) Add(k.altgr, k.vk, altGr);
    }
    Dead('^');
    Dead(0xB4);
    Dead('`');
    Add(' ', 0x20);
    Add('\t', kVkTab);
    Add('\r', kVkReturn);
}

}  // namespace kt::test
