// The skin data component: one skin's container bytes, the description expanded into element
// objects, colours and sizes, and the switches that say which windows and controls are skinned.
// The skin manager (Win32) carries out its requests through ISkinManager; the description is
// read in memory with the profile-file rules (IniFile.h) instead of through a temporary file.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Color.h"
#include "skin/data/Bitmap32.h"
#include "skin/data/IniFile.h"

namespace kt {

class TSkinReader;
class TSkinStore;
class TSkinData;

constexpr TColour kNoColour = -1;                 // an element's text colours when not given
constexpr TColour kNoTitleColour = 0x1FFFFFFF;    // the title's text colours when not given
// A plain colour as a pixel; system colours need the platform and give black here.
inline Pixel ColourToPixel(TColour c) {
    return c < 0 || c == kNoTitleColour ? 0 : MakePixel(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar,
    xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcFastReport
};
// A set of TSkinControlType as an 18-bit mask, bit n for value n.
using TSkinControlTypes = std::uint32_t;
constexpr TSkinControlTypes SkinControlBit(TSkinControlType t) { return TSkinControlTypes(1) << t; }
constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFF;  // every kind but xcFastReport

enum TSkinFormType { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2 };

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name = {});
    virtual ~TDataSkinObject();
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    std::int32_t LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
    TBitmap32 Image;
    std::int32_t Trans = 0;
    std::int32_t Tile = 0;  // for the four frame edges: the edge's "Stretch" value
    std::string Name;
    std::int32_t FrameCount = 0;
    std::int32_t Style = 0;
    TColour NormalColour = kNoColour, MouseOverColour = kNoColour, PressedColour = kNoColour;
    TColour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;

    TRectI Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
    // Element objects alive in the process (tests check that a reload replaces, not adds).
    static long LiveCount();
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap32 Image2;  // tab page border, progress chunk or up-down glyphs
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap32 CheckImage, RadioImage;
    std::int32_t RadioFrameCount = 0, CheckFrameCount = 0;
};

class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t TextAlignment = 0, TextBackground = 0, FontHeight = 0, TextBackLeft = 0, TextBackRight = 0;
    TColour ActiveTextColour = kNoTitleColour, InactiveTextColour = kNoTitleColour;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t Action = 0, Align = 0, XCoord = 0, YCoord = 0, CombineOp = 0, Visibility = 0, Visibility1 = 0;
};

// Where a description's pictures come from: the entries of the skin's container.
class TSkinEntrySource {
public:
    virtual ~TSkinEntrySource() = default;
    // The entry's bytes, empty when there is no such entry (names compare case-insensitively).
    virtual std::vector<std::uint8_t> Entry(std::string_view name) const = 0;
};
class TSkinReaderEntries : public TSkinEntrySource {
public:
    explicit TSkinReaderEntries(const TSkinReader& reader) : reader_(reader) {}
    std::vector<std::uint8_t> Entry(std::string_view name) const override;
private:
    const TSkinReader& reader_;
};

// The model a description fills. ParseDescription builds a fresh one and puts it in place only
// when the whole description has been read, so a bad picture leaves the previous skin intact.
struct TSkinDescription {
    TSkinDescription();
    TSkinDescription(TSkinDescription&&) noexcept;
    TSkinDescription& operator=(TSkinDescription&&) noexcept;
    ~TSkinDescription();

    std::string SkinName;
    TColour WindowText = SysColour(8), TitleTextActive = SysColour(9), TitleTextNoActive = SysColour(19),
            ButtonFace = SysColour(15), ButtonText = SysColour(18), ButtonHilight = SysColour(20),
            Buttonlight = SysColour(20), ButtonShadow = SysColour(16), ButtonDkShadow = SysColour(16),
            HilightText = SysColour(14), Hilight = SysColour(13), Menubar = SysColour(15),
            MenuBarText = SysColour(7), MenuText = SysColour(7), Menu = SysColour(4),
            ScrollbarColour = SysColour(0);  // the "Scrollbar" colour key (the name is taken by the element)
    std::vector<TColour> SectionColours;

    std::unique_ptr<TDataSkinTitle> Title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;  // one per section, then 3 MDI buttons
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinBorder> FrameLeft, FrameRight, FrameTop, FrameBottom;

    // Absent (null) until a description supplies their picture.
    std::unique_ptr<TDataSkinBorder> Tabs, Progress, UpDownHorz, UpDownVert;
    std::unique_ptr<TDataSkinObject> ComboButton, SunkEdge, ExtraImages, GroupBoxEdge, Toolbars, StatusBarEdges,
        Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll, HorzScrollThumb,
        VertScrollThumb;

    // The colour of the solid face brush (the Win32 side keeps the brush made from it).
    TColour FaceBrushColour = SysColour(15);
};

// What the skin data asks of the skin manager. The Win32 manager implements it and installs a
// factory; the first component that needs a manager creates the one instance.
class ISkinManager {
public:
    virtual ~ISkinManager() = default;
    virtual void AddSkinData(TSkinData* data) = 0;
    virtual void RemoveSkinData(TSkinData* data) = 0;
    virtual void InstallHook() = 0;
    // Loaded for sfOnlyThisForm and sfDialog: active on, ActivationCount + 1, and the owner form
    // attached (owner may be null).
    virtual void ActivateForOwner(void* ownerForm) = 0;
    virtual void PrepareRefresh() = 0;             // every attached frame frees its title buttons
    virtual void SetCommandSkinData(TSkinData* data) = 0;
    virtual void PostCommand(int command, int intervalMs) = 0;  // 1 on, 2 off, 3 refresh
    // The first attached frame of form skins control (null: the whole form again).
    virtual void AddControl(void* form, void* control) = 0;
};
using SkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;
void SetSkinManagerFactory(SkinManagerFactory factory);
ISkinManager* SkinManager();          // null until created
void ReleaseSkinManager();            // the module's finalisation (and tests)

class TSkinData : public TSkinDescription {
public:
    static constexpr int kSkinOn = 1, kSkinOff = 2, kSkinRefresh = 3, kCommandDelayMs = 250;

    explicit TSkinData(void* ownerForm = nullptr);
    ~TSkinData();
    TSkinData(const TSkinData&) = delete;
    TSkinData& operator=(const TSkinData&) = delete;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    std::int32_t DisableTag = 99;
    TSkinControlTypes SkinControls = kDefaultSkinControls;
    bool HasControl(TSkinControlType t) const { return (SkinControls & SkinControlBit(t)) != 0; }
    const std::vector<std::string>& Skin3rd() const { return skin3rd_; }
    void SetSkin3rd(const std::vector<std::string>& lines) { skin3rd_ = lines; }
    const std::string& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::string& value);
    // SetSkinFile with the file's bytes already read (the Win32 side reads names beyond the
    // code page through the wide-character functions).
    void LoadSkinFileBytes(const std::string& name, std::vector<std::uint8_t> bytes);
    std::string SkinStore() const { return "(none)"; }
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype = sfMainform;
    // The display's resolution: a description read from now on is scaled to it (skins are
    // drawn for 96 pixels per inch; SkinScale.h).
    int PixelsPerInch = 96;
    std::function<void(TSkinData& sender, const std::string& name, bool& doSkin)> OnFormSkin;
    std::function<void(TSkinData& sender)> OnSkinChanged;
    // (frame, skin data, form, control, class name in upper case, painter out)
    std::function<void(void* sender, TSkinData& data, void* form, void* control, const std::string& controlClass,
                       void*& skinnedControl)>
        OnSkinControl;

    // Unpublished state.
    std::vector<std::uint8_t> SkinStream;
    bool Reloading() const { return reloading_; }
    TBitmap32 IconImage;
    void* OwnerForm() const { return owner_; }

    void LoadFromStore(const TSkinStore& store, int index);
    bool UnpackSkin();
    void UpdateSkin();
    void AddControl(void* form, void* control);
    void CheckFormSkin(const std::string& name, bool& doSkin);
    void DoSkinChanged();
    // The framework's "being read" state: between BeginLoading and Loaded, Active and
    // UpdateSkin only record.
    void BeginLoading() { loading_ = true; }
    void Loaded();
    bool Loading() const { return loading_; }

    // The binary property "SkinStream": a signed 32-bit size, then the bytes when above 0.
    void WriteSkinStream(std::vector<std::uint8_t>& out) const;
    // Reads it from data, returns the bytes used; raises EInOutError when the bytes run short.
    std::size_t ReadSkinStream(const std::uint8_t* data, std::size_t size);

    // Reads a description into the model; Reloading is cleared at the end. A picture that is
    // not a valid bitmap raises EInvalidGraphic and leaves model and Reloading as they were.
    void ParseDescription(std::string_view text, const TSkinEntrySource& entries);

    // Every element object, the fixed ones included, null entries skipped.
    std::vector<const TDataSkinObject*> Elements() const;

private:
    bool active_ = false;
    bool reloading_ = true;
    bool loading_ = false;
    void* owner_;
    std::string skinFile_;
    std::vector<std::string> skin3rd_;
    ISkinManager* EnsureManager();
};

// The 81 lines of Skin3rd a new component starts with.
const std::vector<std::string>& DefaultSkin3rd();

// Reading helpers of the description reader.
void LoadEntryBitmap(TBitmap32& bitmap, std::string_view value, const TSkinEntrySource& entries);
TColour ParseRGB(std::string_view text);
TColour StrToColour(std::string_view text, TColour def);

}  // namespace kt
