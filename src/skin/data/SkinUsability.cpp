#include "skin/data/SkinUsability.h"

#include <algorithm>
#include <exception>

#include "skin/data/SkinReader.h"

namespace kt {

namespace {

std::string Quoted(const TDataSkinObject& e) { return "element \"" + e.Name + "\""; }

int Frames(const TDataSkinObject& e) { return std::max(1, e.FrameCount); }

// One picture of `e`, cut into its frames side by side (horizontal) or stacked: the size of a
// frame, or why there is none.
std::string FrameOf(const TDataSkinObject& e, bool sideBySide, int& width, int& height) {
    if (e.Image.Empty()) return Quoted(e) + " has no picture";
    width = e.Image.Width();
    height = e.Image.Height();
    int& cut = sideBySide ? width : height;
    if (cut / Frames(e) < 1)
        return Quoted(e) + ": " + std::to_string(Frames(e)) + " frames do not fit its " +
               std::to_string(e.Image.Width()) + " x " + std::to_string(e.Image.Height()) + " picture";
    cut /= Frames(e);
    if (e.LeftWidth < 0 || e.RightWidth < 0 || e.TopHeight < 0 || e.BottomHeight < 0 ||
        static_cast<long long>(e.LeftWidth) + e.RightWidth > width ||
        static_cast<long long>(e.TopHeight) + e.BottomHeight > height)
        return Quoted(e) + ": its margins do not fit its " + std::to_string(width) + " x " + std::to_string(height) +
               " frame";
    return {};
}

}  // namespace

std::string SkinModelProblem(const TSkinDescription& skin, int workWidth, int workHeight) {
    if (!skin.FrameLeft || !skin.FrameRight || !skin.FrameTop || !skin.FrameBottom || !skin.Title)
        return "it describes no window frame";
    int leftW = 0, rightW = 0, captionH = 0, bottomH = 0, w = 0, h = 0;
    std::string problem;
    if (!(problem = FrameOf(*skin.FrameLeft, true, leftW, h)).empty()) return problem;
    if (!(problem = FrameOf(*skin.FrameRight, true, rightW, h)).empty()) return problem;
    if (!(problem = FrameOf(*skin.FrameTop, false, w, captionH)).empty()) return problem;
    if (!(problem = FrameOf(*skin.FrameBottom, false, w, bottomH)).empty()) return problem;
    if (captionH < kMinCaptionHeight)
        return Quoted(*skin.FrameTop) + ": a caption " + std::to_string(captionH) + " pixels high cannot show a title";
    for (const auto& b : skin.SysButtons) {
        if (!b || b->Name == "MDICONTROLS") continue;
        // The system-menu button shows the window's icon when it has no picture of its own.
        if (b->Image.Empty() && (b->Action == 3 || b->Action == 11)) continue;
        if (!(problem = FrameOf(*b, true, w, h)).empty()) return problem;
    }
    if (4LL * (leftW + rightW) > workWidth)
        return "its frame's borders (" + std::to_string(leftW + rightW) + " pixels) take more than a quarter of the " +
               std::to_string(workWidth) + "-pixel screen width";
    if (4LL * (captionH + bottomH) > workHeight)
        return Quoted(*skin.FrameTop) + ": its caption and bottom border (" + std::to_string(captionH + bottomH) +
               " pixels) take more than a quarter of the " + std::to_string(workHeight) + "-pixel screen height";
    return {};
}

std::string SkinContainerProblem(const std::vector<std::uint8_t>& container, int workWidth, int workHeight,
                                 int pixelsPerInch) {
    TSkinData scratch;
    scratch.PixelsPerInch = pixelsPerInch;
    scratch.SkinStream = container;
    try {
        TSkinReader reader;
        reader.Quiet = true;
        if (!reader.Open(scratch.SkinStream)) return reader.LastError().empty() ? "it is no skin" : reader.LastError();
        if (!scratch.UnpackSkin() || scratch.Reloading()) return "it is no skin";
    } catch (const std::exception& e) {
        return e.what();
    }
    return SkinModelProblem(scratch, workWidth, workHeight);
}

}  // namespace kt
