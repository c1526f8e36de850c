// A form of single-line fields as it takes key events: the other half of the replay oracle,
// for texts that type keys as well as characters.
#pragma once
#include <string>
#include <vector>

#include "FakeLayouts.h"

namespace kt::test {

class FakeForm {
public:
    FakeForm(const TableLayout& layout, std::size_t fields) : layout_(layout), fields_(fields) {}

    // Plays the events as the focused field takes them: characters at the caret (over the
    // selection); Tab and Shift+Tab move between the fields and select the next one's text;
    // Home, End, Left, Right (with Shift: selecting), Delete, Backspace and Ctrl+A edit; Enter
    // submits the form. Every other key is noted by name ("ESC", "CTRL+F", "ALT+SHIFT+F3").
    // Throws on a key released that was not down, pressed twice, or left down at the end.
    void Play(const std::vector<KeyEvent>& events);

    std::vector<std::u16string> Texts() const;
    std::size_t focus = 0;
    int submitted = 0;
    std::vector<std::string> otherKeys;

private:
    struct Field {
        std::u16string text;
        std::size_t caret = 0, anchor = 0;
    };
    const TableLayout& layout_;
    std::vector<Field> fields_;

    void Insert(const std::u16string& s);
    bool DeleteSelection();
    void Key(std::uint16_t vk, bool shift, bool ctrl, bool alt);
};

}  // namespace kt::test
