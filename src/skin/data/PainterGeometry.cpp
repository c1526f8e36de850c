#include "skin/data/PainterGeometry.h"

#include <algorithm>

namespace kt {

int FaceFrame(bool enabled, bool pressed, bool highlighted) {
    if (!enabled) return 3;
    if (pressed) return 2;
    return highlighted ? 4 : 1;
}

int BoxFrame(bool checked, bool disabled) { return (checked ? 2 : 1) + (disabled ? 2 : 0); }

int SectionFrame(int section, int hotSection, int pressedSection, bool disabled, int frameCount) {
    int frame = 1;
    if (disabled)
        frame = 3;
    else if (section == pressedSection && section == hotSection)
        frame = 2;  // pressed shows while the mouse stays on it
    else if (section == hotSection)
        frame = 4;
    return frame > std::max(1, frameCount) ? 1 : frame;
}

TThumb ThumbGeometry(const TScrollNumbers& n, int length, int arrow, int minThumb) {
    TThumb t;
    const int track = length - 2 * arrow;
    const long long range = static_cast<long long>(n.Max) - n.Min + 1;
    minThumb = std::min(minThumb, std::max(track, 0));
    if (track <= 0 || n.Max <= n.Min || (n.Page > 0 && n.Page >= range)) return t;
    if (n.Page == 0) {
        t.Length = std::min(track, minThumb);
    } else {
        t.Length = std::clamp(static_cast<int>(static_cast<long long>(track) * n.Page / range), minThumb, track);
    }
    if (t.Length > track || track - t.Length < 0) return {};
    const long long span = range - std::max<long long>(n.Page, 1);
    const long long at = std::clamp<long long>(static_cast<long long>(n.Pos) - n.Min, 0, std::max<long long>(span, 0));
    t.Offset = arrow + (span > 0 ? static_cast<int>((track - t.Length) * at / span) : 0);
    return t;
}

}  // namespace kt
