#include "FakeForm.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace kt::test {

std::vector<std::u16string> FakeForm::Texts() const {
    std::vector<std::u16string> out;
    for (const Field& f : fields_) out.push_back(f.text);
    return out;
}

bool FakeForm::DeleteSelection() {
    Field& f = fields_[focus];
    if (f.caret == f.anchor) return false;
    const std::size_t from = std::min(f.caret, f.anchor), to = std::max(f.caret, f.anchor);
    f.text.erase(from, to - from);
    f.caret = f.anchor = from;
    return true;
}

void FakeForm::Insert(const std::u16string& s) {
    DeleteSelection();
    Field& f = fields_[focus];
    f.text.insert(f.caret, s);
    f.caret = f.anchor = f.caret + s.size();
}

void FakeForm::Key(std::uint16_t vk, bool shift, bool ctrl, bool alt) {
    Field& f = fields_[focus];
    auto move = [&](std::size_t to) {
        f.caret = to;
        if (!shift) f.anchor = to;
    };
    if (!ctrl && !alt) {
        switch (vk) {
            case kVkTab:
                focus = (focus + (shift ? fields_.size() - 1 : 1)) % fields_.size();
                fields_[focus].anchor = 0;
                fields_[focus].caret = fields_[focus].text.size();
                return;
            case kVkReturn: ++submitted; return;
            case 0x24: move(0); return;                                       // Home
            case 0x23: move(f.text.size()); return;                           // End
            case 0x25: move(f.caret > 0 ? f.caret - 1 : 0); return;           // Left
            case 0x27: move(std::min(f.caret + 1, f.text.size())); return;    // Right
            case 0x2E:                                                        // Delete
                if (!DeleteSelection() && f.caret < f.text.size()) f.text.erase(f.caret, 1);
                return;
            case 0x08:                                                        // Backspace
                if (!DeleteSelection() && f.caret > 0) {
                    f.text.erase(--f.caret, 1);
                    f.anchor = f.caret;
                }
                return;
        }
        const std::u16string ch = vk == 0x1B ? std::u16string() : layout_.KeyCharacter(vk, shift);
        if (!ch.empty()) {
            Insert(ch);
            return;
        }
    }
    if (ctrl && !alt && !shift && vk == 'A') {
        f.anchor = 0;
        f.caret = f.text.size();
        return;
    }
    std::string name = std::string(ctrl ? "CTRL+" : "") + (alt ? "ALT+" : "") + (shift ? "SHIFT+" : "");
    if (vk >= 0x70 && vk <= 0x7B) name += "F" + std::to_string(vk - 0x6F);
    else if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) name += static_cast<char>(vk);
    else if (vk == 0x1B) name += "ESC";
    else name += "VK" + std::to_string(vk);
    otherKeys.push_back(name);
}

void FakeForm::Play(const std::vector<KeyEvent>& events) {
    std::set<std::uint16_t> down;
    for (const KeyEvent& e : events) {
        if (e.unicode) {
            if (!e.up) Insert(std::u16string(1, static_cast<char16_t>(e.code)));
            continue;
        }
        if (e.up) {
            if (!down.erase(e.code)) throw std::logic_error("key up without key down");
            continue;
        }
        if (!down.insert(e.code).second) throw std::logic_error("key down twice");
        if (e.code == kVkShift || e.code == kVkControl || e.code == kVkMenu) continue;
        Key(e.code, down.count(kVkShift) != 0, down.count(kVkControl) != 0, down.count(kVkMenu) != 0);
    }
    if (!down.empty()) throw std::logic_error("keys left down");
}

}  // namespace kt::test
