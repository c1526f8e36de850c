// The system's "ANSI" code page, as the portable core asks for it.
#pragma once
#include "core/TextCodec.h"

namespace kt {

class Win32CodePage : public CodePage {
public:
    std::string ToUtf8(std::string_view bytes) const override;
    bool FromUtf8(std::string_view text, std::string& bytes) const override;
};

}  // namespace kt
