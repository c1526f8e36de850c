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

TTabSide TabSide(bool bottomOrRight, bool vertical) {
    if (vertical) return bottomOrRight ? TTabSide::Right : TTabSide::Left;
    return bottomOrRight ? TTabSide::Bottom : TTabSide::Top;
}

TRectI SelectedTabRect(const TRectI& t, TTabSide side) {
    switch (side) {
        case TTabSide::Top: return {t.Left - 2, t.Top - 2, t.Right + 2, t.Bottom + 1};
        case TTabSide::Bottom: return {t.Left - 2, t.Top - 1, t.Right + 2, t.Bottom + 2};
        case TTabSide::Left: return {t.Left - 2, t.Top - 2, t.Right + 1, t.Bottom + 2};
        case TTabSide::Right: return {t.Left - 1, t.Top - 2, t.Right + 2, t.Bottom + 2};
    }
    return t;
}

TRectI UprightTabSize(const TRectI& t, TTabSide side) {
    const bool turned = side == TTabSide::Left || side == TTabSide::Right;
    return {0, 0, turned ? t.Height() : t.Width(), turned ? t.Width() : t.Height()};
}

std::vector<TRectI> ArrowLines(const TRectI& b, TArrow toward) {
    const bool vertical = toward == TArrow::Up || toward == TArrow::Down;
    // Along: the direction it points; across: its base.
    const int along = vertical ? b.Height() : b.Width(), across = vertical ? b.Width() : b.Height();
    const int rows = std::max(1, std::min((along + 1) / 3, (across - 1) / 2));
    if (along <= 0 || across <= 0) return {};
    const int midAcross = (vertical ? b.Left : b.Top) + (across - 1) / 2;
    const int start = (vertical ? b.Top : b.Left) + (along - rows) / 2;
    const bool pointFirst = toward == TArrow::Up || toward == TArrow::Left;
    std::vector<TRectI> lines;
    for (int k = 0; k < rows; ++k) {
        const int at = pointFirst ? start + k : start + rows - 1 - k;
        const int lo = std::max(midAcross - k, vertical ? b.Left : b.Top);
        const int hi = std::min(midAcross + k + 1, vertical ? b.Right : b.Bottom);
        lines.push_back(vertical ? TRectI{lo, at, hi, at + 1} : TRectI{at, lo, at + 1, hi});
    }
    return lines;
}

}  // namespace kt
