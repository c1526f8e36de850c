#include "skin/data/WinSkinData.h"

#include <atomic>
#include <fstream>
#include <iterator>

#include "core/Errors.h"
#include "skin/data/BmpDecoder.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinScale.h"
#include "skin/data/WinSkinStore.h"

namespace kt {

// ---- element objects ------------------------------------------------------------------------

namespace {
std::atomic<long> g_liveElements{0};
}

TDataSkinObject::TDataSkinObject(std::string name) : Name(std::move(name)) { ++g_liveElements; }
TDataSkinObject::~TDataSkinObject() { --g_liveElements; }
long TDataSkinObject::LiveCount() { return g_liveElements.load(); }

std::vector<std::uint8_t> TSkinReaderEntries::Entry(std::string_view name) const {
    return reader_.ExtractByName(name);
}

TSkinDescription::TSkinDescription()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      FrameLeft(std::make_unique<TDataSkinBorder>("Left")),
      FrameRight(std::make_unique<TDataSkinBorder>("Right")),
      FrameTop(std::make_unique<TDataSkinBorder>("Top")),
      FrameBottom(std::make_unique<TDataSkinBorder>("Bottom")) {}
TSkinDescription::TSkinDescription(TSkinDescription&&) noexcept = default;
TSkinDescription& TSkinDescription::operator=(TSkinDescription&&) noexcept = default;
TSkinDescription::~TSkinDescription() = default;

// ---- the manager seam -----------------------------------------------------------------------

namespace {
SkinManagerFactory g_factory;
std::unique_ptr<ISkinManager> g_manager;
}  // namespace

void SetSkinManagerFactory(SkinManagerFactory factory) { g_factory = std::move(factory); }
ISkinManager* SkinManager() { return g_manager.get(); }
void ReleaseSkinManager() { g_manager.reset(); }

// ---- the component --------------------------------------------------------------------------

TSkinData::TSkinData(void* ownerForm) : owner_(ownerForm), skin3rd_(DefaultSkin3rd()) {}

TSkinData::~TSkinData() {
    if (ISkinManager* m = SkinManager()) m->RemoveSkinData(this);
}

ISkinManager* TSkinData::EnsureManager() {
    if (!g_manager && g_factory) {
        g_manager = g_factory();
        if (g_manager) {
            g_manager->AddSkinData(this);
            if (SkinFormtype == sfMainform) g_manager->InstallHook();
        }
    }
    return g_manager.get();
}

void TSkinData::Loaded() {
    loading_ = false;
    if (!g_manager && g_factory) g_manager = g_factory();
    ISkinManager* m = g_manager.get();
    if (!m) return;
    m->AddSkinData(this);
    if (SkinFormtype != sfMainform) {
        m->ActivateForOwner(owner_);
        return;
    }
    m->InstallHook();
    if (active_) {
        if (reloading_) {
            active_ = false;
        } else {
            // The command names its component, or the manager's timer would find nothing to do.
            m->SetCommandSkinData(this);
            m->PostCommand(kSkinOn, kCommandDelayMs);
        }
    }
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (loading_) return;
    const int command = value ? kSkinOn : kSkinOff;
    switch (SkinFormtype) {
        case sfMainform: {
            if (value && reloading_) return;  // reads True, but nothing is skinned until a skin is ready
            ISkinManager* m = EnsureManager();
            if (!m) return;
            // Named first: before the first activation the manager applies the command at once
            // and tells this component so.
            m->SetCommandSkinData(this);
            m->PostCommand(command, kCommandDelayMs);
            break;
        }
        case sfOnlyThisForm: {
            ISkinManager* m = EnsureManager();
            if (!m) return;
            m->SetCommandSkinData(this);
            if (!(value && reloading_)) m->PostCommand(command, kCommandDelayMs);
            break;
        }
        case sfDialog:
            break;
    }
}

void TSkinData::SetSkinFile(const std::string& value) {
    reloading_ = true;
    skinFile_ = value;
    if (value.empty()) return;
    std::ifstream in(value, std::ios::binary);
    if (!in) return;  // a missing file is ignored: the model keeps the previous skin
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EInOutError(FormatMessage1("Cannot open file %s", value));
    LoadSkinFileBytes(value, std::move(bytes));
}

void TSkinData::LoadSkinFileBytes(const std::string& name, std::vector<std::uint8_t> bytes) {
    reloading_ = true;
    skinFile_ = name;
    SkinStream = std::move(bytes);
    UnpackSkin();
    UpdateSkin();
}

void TSkinData::LoadFromStore(const TSkinStore& store, int index) {
    if (index >= store.Store().Count()) return;
    const TSkinCollectionItem& item = store.Store().Items(index);  // a negative index raises EListError
    reloading_ = true;
    SkinStream = item.Data();
    UnpackSkin();
    UpdateSkin();
}

bool TSkinData::UnpackSkin() {
    reloading_ = true;
    TSkinReader reader;
    if (!reader.Open(SkinStream)) return false;
    std::vector<std::uint8_t> ini;
    std::string name;
    if (!reader.ExtractByPart(".ini", ini, name))
        throw EInOutError("The skin holds no description (.ini) entry");
    ParseDescription(std::string_view(reinterpret_cast<const char*>(ini.data()), ini.size()),
                     TSkinReaderEntries(reader));
    return true;
}

void TSkinData::UpdateSkin() {
    if (loading_) return;
    if (!g_manager) Loaded();
    ISkinManager* m = g_manager.get();
    if (!m) return;
    m->SetCommandSkinData(this);
    m->PrepareRefresh();
    m->PostCommand(kSkinRefresh, kCommandDelayMs);
}

void TSkinData::AddControl(void* form, void* control) {
    if (ISkinManager* m = SkinManager()) m->AddControl(form, control);
}

void TSkinData::CheckFormSkin(const std::string& name, bool& doSkin) {
    if (OnFormSkin) {
        OnFormSkin(*this, name, doSkin);
        return;
    }
    if (name == "SysMonthCal32")
        doSkin = false;
    else if (HasControl(xcFastReport) && name.rfind("Tfr", 0) == 0)
        doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(*this);
}

void TSkinData::WriteSkinStream(std::vector<std::uint8_t>& out) const {
    const std::uint32_t n = std::uint32_t(SkinStream.size());
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(n >> (8 * i)));
    out.insert(out.end(), SkinStream.begin(), SkinStream.end());
}

std::size_t TSkinData::ReadSkinStream(const std::uint8_t* data, std::size_t size) {
    if (size < 4) throw EInOutError("Stream read error");
    const std::int32_t n = std::int32_t(std::uint32_t(data[0]) | (std::uint32_t(data[1]) << 8) |
                                        (std::uint32_t(data[2]) << 16) | (std::uint32_t(data[3]) << 24));
    if (n <= 0) return 4;
    if (std::size_t(n) > size - 4) throw EInOutError("Stream read error");
    SkinStream.assign(data + 4, data + 4 + n);
    UnpackSkin();
    return 4 + std::size_t(n);
}

std::vector<const TDataSkinObject*> TSkinData::Elements() const {
    std::vector<const TDataSkinObject*> v;
    auto add = [&](const TDataSkinObject* o) {
        if (o) v.push_back(o);
    };
    add(Title.get());
    for (const auto& b : SysButtons) add(b.get());
    for (const TDataSkinObject* o : std::initializer_list<const TDataSkinObject*>{Buttons.get(), FrameLeft.get(), FrameRight.get(), FrameTop.get(),
          FrameBottom.get(), Tabs.get(), Progress.get(), UpDownHorz.get(), UpDownVert.get(), ComboButton.get(),
          SunkEdge.get(), ExtraImages.get(), GroupBoxEdge.get(), Toolbars.get(), StatusBarEdges.get(),
          Headerbar.get(), MenuBar.get(), MenuItem.get(), MenuBackground.get(), Scrollbar.get(), HorzScroll.get(),
          VertScroll.get(), HorzScrollThumb.get(), VertScrollThumb.get()})
        add(o);
    return v;
}

// ---- the description reader -----------------------------------------------------------------

TColour ParseRGB(std::string_view text) {
    text = TrimBlanks(text);
    int slots[3] = {0, 0, 0};
    int stored = 0;
    std::string number;
    auto convert = [&](int& into) {
        std::int32_t v;
        if (!TryStrToInt(number, v)) return false;  // the digits stay pending
        into = v;
        number.clear();
        return true;
    };
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            number += c;
            continue;
        }
        if (number.empty()) continue;
        int scratch;
        if (convert(stored < 3 ? slots[stored] : scratch)) ++stored;
    }
    if (stored == 2 && !number.empty()) convert(slots[2]);
    return TColour((slots[0] & 255) | ((slots[1] & 255) << 8) | ((slots[2] & 255) << 16));
}

TColour StrToColour(std::string_view text, TColour def) { return text.empty() ? def : ParseRGB(text); }

void LoadEntryBitmap(TBitmap32& bitmap, std::string_view value, const TSkinEntrySource& entries) {
    const std::size_t sep = value.find_last_of("\\:");
    const std::string_view name = sep == std::string_view::npos ? value : value.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    if (name.empty() || ext != ".bmp") {
        bitmap.Clear();
        return;
    }
    const std::vector<std::uint8_t> bytes = entries.Entry(name);
    if (bytes.empty()) {
        bitmap.Clear();
        return;
    }
    bitmap = DecodeBmp(bytes);
}

namespace {

class Reader {
public:
    Reader(const TIniText& ini, const TSkinEntrySource& entries, TSkinDescription& d)
        : ini_(ini), entries_(entries), d_(d) {}

    void Run() {
        d_.SkinName = S("TitlebarSkin", "SkinName");
        Edge(*d_.FrameLeft, "Left", true);
        Edge(*d_.FrameRight, "Right", true);
        Edge(*d_.FrameTop, "Top", false);
        Edge(*d_.FrameBottom, "Bottom", false);
        Colours();
        SysButtons();
        ButtonsElement();
        TitleElement();
        ReadAll();
        FrameCounts();
        d_.FaceBrushColour = d_.ButtonFace;
    }

private:
    std::string S(std::string_view sec, std::string_view key) const { return ini_.ReadString(sec, key, ""); }
    std::int32_t I(std::string_view sec, std::string_view key, std::int32_t def) const {
        return ini_.ReadInteger(sec, key, def);
    }
    void Load(TBitmap32& bm, const std::string& value) const { LoadEntryBitmap(bm, value, entries_); }

    void Edge(TDataSkinBorder& e, const std::string& E, bool side) {
        const char* P = "Personality";
        const std::int32_t first = I(P, E + "TopHeight", 0), last = I(P, E + "BotHeight", 0);
        if (side) {
            e.TopHeight = first;
            e.BottomHeight = last;
            e.LeftWidth = e.RightWidth = 0;
        } else {
            e.LeftWidth = first;
            e.RightWidth = last;
            e.TopHeight = e.BottomHeight = 0;
        }
        e.FrameCount = I(P, E + "Frame", 1);
        e.Tile = I(P, E + "Stretch", 1);
        e.Trans = I(P, E + "Trans", 1);
        Load(e.Image, S(P, E));
    }

    void Colours() {
        auto C = [&](const char* key, TColour def) { return StrToColour(S("Colours", key), def); };
        d_.WindowText = C("WindowText", SysColour(8));
        d_.ButtonText = C("ButtonText", SysColour(18));
        d_.ButtonFace = C("ButtonFace", SysColour(15));
        d_.ButtonHilight = C("ButtonHilight", SysColour(20));
        d_.ScrollbarColour = C("Scrollbar", SysColour(0));
        d_.Buttonlight = C("Buttonlight", SysColour(20));
        d_.HilightText = C("HilightText", SysColour(14));
        d_.ButtonShadow = C("ButtonShadow", SysColour(16));
        d_.Hilight = C("Hilight", SysColour(13));
        d_.ButtonDkShadow = C("ButtonDkShadow", SysColour(16));
        d_.Menubar = C("Menubar", d_.ButtonFace);
        d_.MenuBarText = C("MenuBarText", SysColour(7));
        d_.Menu = C("Menu", SysColour(4));
        d_.TitleTextActive = C("TitleTextActive", SysColour(9));
        d_.MenuText = C("MenuText", SysColour(7));
        d_.TitleTextNoActive = C("TitleTextNoActive", SysColour(19));
        d_.SectionColours.clear();
        for (const std::string& sec : ini_.Sections()) {
            const std::string U = UpperAscii(sec);
            if (U.rfind("COLOUR", 0) == 0 && U != "COLOURS")
                d_.SectionColours.push_back(StrToColour(S(sec, "color"), SysColour(8)));
        }
    }

    void SysButtons() {
        d_.SysButtons.clear();
        for (const std::string& sec : ini_.Sections()) {
            const std::string U = UpperAscii(sec);
            if (U.rfind("BUTTON", 0) != 0 || U == "BUTTONS" || U == "BUTTON.RADIO" || U == "BUTTON.CHECKBOX")
                continue;
            auto b = std::make_unique<TDataSkinSysButton>(U);
            b->Action = I(U, "Action", 0);
            b->Align = I(U, "Align", 0);
            b->XCoord = I(U, "Xcoord", 0);
            b->YCoord = I(U, "Ycoord", 0);
            b->Visibility = I(U, "Visibility", 0);
            b->Visibility1 = I(U, "Visibility1", 0);
            b->CombineOp = I(U, "CombineOp", -1);
            b->FrameCount = I(U, "frame", 0);
            Load(b->Image, S(U, "ButtonImage"));
            if (b->FrameCount == 0) {
                b->FrameCount = 6;
                if (!b->Image.Empty())
                    b->FrameCount = double(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
                if (b->Action < 0) b->FrameCount = 6;
                if (b->Action == 3 || b->Action == 11) b->Image.Clear();  // the window icon goes there
            }
            d_.SysButtons.push_back(std::move(b));
        }
        TDataSkinSysButton* mdi[3];
        for (int k = 0; k < 3; ++k) {
            auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
            b->Action = 7 + k;
            b->Align = 100;
            b->Visibility = b->Visibility1 = 100;
            b->FrameCount = 4;
            mdi[k] = b.get();
            d_.SysButtons.push_back(std::move(b));
        }
        TBitmap32 strip;
        Load(strip, S("MDICONTROLS", "Image"));
        if (strip.Empty()) return;
        const int cell = strip.Width() / 12;
        for (int k = 0; k < 3; ++k) {
            TBitmap32& im = mdi[k]->Image;
            im.SetSize(4 * cell, strip.Height());
            for (int y = 0; y < im.Height(); ++y)
                for (int x = 0; x < im.Width(); ++x) im.At(x, y) = strip.At(4 * k * cell + x, y);
            mdi[k]->XCoord = (cell + 4) * (3 - k);
        }
    }

    void Colours2(TDataSkinObject& e, const std::string& sec) {
        e.NormalColour = I(sec, "NormalColour", kNoColour);
        e.MouseOverColour = I(sec, "MouseOverColour", kNoColour);
        e.PressedColour = I(sec, "PressedColour", kNoColour);
        e.NormalColour2 = StrToColour(S(sec, "NormalColour2"), d_.ButtonText);
        e.MouseOverColour2 = StrToColour(S(sec, "MouseOverColour2"), d_.ButtonText);
        e.PressedColour2 = StrToColour(S(sec, "PressedColour2"), d_.ButtonText);
    }

    void ReadMargins(TDataSkinObject& e, const std::string& sec) {
        e.LeftWidth = I(sec, "LeftWidth", 0);
        e.RightWidth = I(sec, "RightWidth", 0);
        e.TopHeight = I(sec, "TopHeight", 0);
        e.BottomHeight = I(sec, "BottomHeight", 0);
        e.Trans = I(sec, "Trans", 0);
        e.Tile = I(sec, "Tile", 0);
    }

    void ButtonsElement() {
        TDataSkinButton& b = *d_.Buttons;
        const std::string sec = "Buttons";
        Load(b.Image, S(sec, "Bitmap"));
        ReadMargins(b, sec);
        Load(b.CheckImage, S(sec, "CheckButton"));
        Load(b.RadioImage, S(sec, "RadioButton"));
        b.RadioFrameCount = I(sec, "RadioButtonFrame", 0);
        b.CheckFrameCount = I(sec, "CheckButtonFrame", 0);
        Colours2(b, sec);
    }

    void TitleElement() {
        TDataSkinTitle& t = *d_.Title;
        const char* P = "Personality";
        t.LeftWidth = I(P, "TextShift", 0);
        t.TopHeight = I(P, "TextShiftVert", 0);
        t.RightWidth = I(P, "TextRightClip", 0);
        t.BottomHeight = 0;
        t.TextAlignment = I(P, "TextAlignment", 0);
        t.TextBackground = I(P, "Textbackground", 0);
        t.TextBackLeft = I(P, "TXTBackleft", 0);
        t.TextBackRight = I(P, "TXTBackRight", 0);
        Load(t.Image, S(P, "TextBack"));
        t.FontHeight = I("Fonts", "FontHeight", 14);
        auto rgb = [&](const std::string& prefix) {
            const std::int32_t r = I(P, prefix + "R", -1), g = I(P, prefix + "G", -1), b = I(P, prefix + "B", -1);
            if (r < 0 || g < 0 || b < 0) return kNoTitleColour;
            return TColour((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
        };
        t.ActiveTextColour = rgb("ActiveText");
        t.InactiveTextColour = rgb("InActiveText");
    }

    enum Flags { kStyle = 1, kClampTile = 2, kColours = 4, kGeneric = kStyle | kClampTile | kColours };

    template <class T>
    std::unique_ptr<T> Element(const std::string& sec, const char* imageKey = "Image", const char* secondKey = nullptr,
                               int flags = kGeneric) {
        const std::string image = S(sec, imageKey);
        if (image.empty()) return nullptr;
        auto e = std::make_unique<T>(sec);
        Load(e->Image, image);
        if constexpr (std::is_same_v<T, TDataSkinBorder>) {
            if (secondKey) {
                const std::string second = S(sec, secondKey);
                if (!second.empty()) Load(e->Image2, second);
            }
        }
        if (flags & kStyle) e->Style = I(sec, "Style", 0);
        ReadMargins(*e, sec);
        if (flags & kColours) Colours2(*e, sec);
        if ((flags & kClampTile) && e->Tile > 1) e->Tile = 0;
        return e;
    }

    void ReadAll() {
        d_.Progress = Element<TDataSkinBorder>("Progress", "Bitmap", "Chunk", kStyle);
        const std::string bar = S("Personality", "menuBar");
        if (!bar.empty()) {
            d_.MenuBar = std::make_unique<TDataSkinObject>("Personality");
            Load(d_.MenuBar->Image, bar);
            d_.MenuBar->TopHeight = d_.MenuBar->BottomHeight = 0;
            d_.MenuBar->Tile = I("Personality", "TileMenu", 0);
            d_.MenuBar->LeftWidth = I("Personality", "TileLeftMenu", 1);
            d_.MenuBar->RightWidth = I("Personality", "TileRightMenu", 1);
        }
        constexpr int kBorder = kClampTile | kColours;
        d_.GroupBoxEdge = Element<TDataSkinObject>("GroupBoxEdge");
        d_.Toolbars = Element<TDataSkinObject>("Toolbars");
        d_.Tabs = Element<TDataSkinBorder>("Tabs", "Image", "Border", kBorder);
        d_.StatusBarEdges = Element<TDataSkinObject>("StatusBarEdges");
        d_.ComboButton = Element<TDataSkinObject>("ComboButton");
        d_.SunkEdge = Element<TDataSkinObject>("SunkEdge");
        d_.ExtraImages = Element<TDataSkinObject>("ExtraImages");
        d_.Headerbar = Element<TDataSkinObject>("Headerbar");
        d_.MenuItem = Element<TDataSkinObject>("MenuItem");
        d_.MenuBackground = Element<TDataSkinObject>("MenuBackground");
        d_.Scrollbar = Element<TDataSkinObject>("Scrollbar");
        d_.HorzScroll = Element<TDataSkinObject>("HorzScroll");
        d_.VertScroll = Element<TDataSkinObject>("VertScroll");
        d_.HorzScrollThumb = Element<TDataSkinObject>("HorzScrollThumb");
        if (d_.HorzScrollThumb) d_.HorzScrollThumb->FrameCount = I("HorzScrollThumb", "FrameCount", 3);
        d_.VertScrollThumb = Element<TDataSkinObject>("VertScrollThumb");
        if (d_.VertScrollThumb) d_.VertScrollThumb->FrameCount = I("VertScrollThumb", "FrameCount", 3);
        d_.UpDownHorz = Element<TDataSkinBorder>("UpDown.Horz", "Image", "GlyphImage", kBorder);
        d_.UpDownVert = Element<TDataSkinBorder>("UpDown.Vert", "Image", "GlyphImage", kBorder);
    }

    void FrameCounts() {
        TDataSkinButton& b = *d_.Buttons;
        b.FrameCount = 5;
        auto derived = [](const TBitmap32& im) {
            const int n = im.Width() / (im.Height() < 16 ? 13 : 16);
            return n < 4 ? 4 : n;
        };
        if (b.RadioFrameCount == 0) b.RadioFrameCount = derived(b.RadioImage);
        if (b.CheckFrameCount == 0) b.CheckFrameCount = derived(b.CheckImage);
        auto fix = [](TDataSkinObject* o, int n) {
            if (o) o->FrameCount = n;
        };
        fix(d_.Title.get(), 2);
        fix(d_.Tabs.get(), 5);
        fix(d_.Progress.get(), 2);
        fix(d_.UpDownHorz.get(), 8);
        fix(d_.UpDownVert.get(), 8);
        fix(d_.ComboButton.get(), 4);
        fix(d_.SunkEdge.get(), 4);
        fix(d_.ExtraImages.get(), 5);
        fix(d_.GroupBoxEdge.get(), 2);
        fix(d_.Toolbars.get(), 5);
        fix(d_.StatusBarEdges.get(), 3);
        fix(d_.Headerbar.get(), 5);
        fix(d_.MenuBar.get(), 2);
        fix(d_.MenuItem.get(), 5);
        fix(d_.MenuBackground.get(), 1);
        fix(d_.Scrollbar.get(), 23);
        fix(d_.HorzScroll.get(), 4);
        fix(d_.VertScroll.get(), 4);
        // Painters divide by these counts: a description's zero or negative count becomes 1.
        auto atLeastOne = [](std::int32_t& n) {
            if (n < 1) n = 1;
        };
        for (TDataSkinObject* o : std::initializer_list<TDataSkinObject*>{d_.FrameLeft.get(), d_.FrameRight.get(), d_.FrameTop.get(),
              d_.FrameBottom.get(), d_.HorzScrollThumb.get(), d_.VertScrollThumb.get()})
            if (o) atLeastOne(o->FrameCount);
        for (auto& s : d_.SysButtons) atLeastOne(s->FrameCount);
        atLeastOne(b.RadioFrameCount);
        atLeastOne(b.CheckFrameCount);
    }

    const TIniText& ini_;
    const TSkinEntrySource& entries_;
    TSkinDescription& d_;
};

}  // namespace

void TSkinData::ParseDescription(std::string_view text, const TSkinEntrySource& entries) {
    const TIniText ini(text);
    TSkinDescription fresh;
    Reader(ini, entries, fresh).Run();
    ScaleSkinDescription(fresh, PixelsPerInch);
    static_cast<TSkinDescription&>(*this) = std::move(fresh);
    reloading_ = false;
}

const std::vector<std::string>& DefaultSkin3rd() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> v;
        auto add = [&](const char* kind, std::initializer_list<const char*> names) {
            for (const char* n : names) v.push_back(std::string(n) + "=" + kind);
        };
        add("Checkbox", {"TDBCheckboxEh", "TDBCheckboxEh", "TLMDCHECKBOX", "TLMDDBCHECKBOX"});
        add("Radiobutton", {"TLMDRadiobutton"});
        add("Panel", {"TLMDGROUPBOX", "TLMDSIMPLEPANEL", "TLMDDBCalendar", "TLMDButtonPanel", "TLMDLMDCalculator",
                      "TLMDHeaderPanel", "TLMDTechnicalLine", "TLMDLMDClock"});
        add("trackbar", {"TLMDTrackbar"});
        add("combobox", {"TLMDListCombobox", "TLMDCheckListCombobox", "TLMDHeaderListCombobox", "TLMDImageCombobox",
                         "TLMDColorCombobox", "TLMDFontCombobox", "TLMDFontSizeCombobox", "TLMDFontSizeCombobox",
                         "TLMDPrinterCombobox", "TLMDDriveCombobox", "TLMDCalculatorComboBox",
                         "TLMDTrackBarComboBox", "TLMDCalendarComboBox"});
        add("radiogroup", {"TLMDRADIOGROUP"});
        add("CheckGroup", {"TLMDCheckGroup"});
        add("radiogroup", {"TLMDDBRADIOGROUP"});
        add("CheckGroup", {"TLMDDBCheckGroup"});
        add("Edit", {"TLMDEDIT", "TLMDMASKEDIT", "TLMDBROWSEEDIT", "TLMDEXTSPINEDIT", "TLMDCALENDAREDIT",
                     "TLMDFILEOPENEDIT", "TLMDFILESAVEEDIT", "TLMDCOLOREDIT", "TLMDDBEDIT", "TLMDDBMASKEDIT",
                     "TLMDDBEXTSPINEDIT", "TLMDDBSPINEDIT", "TLMDDBEDITDBLookup", "TLMDEDITDBLookup"});
        add("Combobox", {"TDBLookupCombobox", "TWWDBCombobox", "TWWDBLookupCombo", "TWWDBCombobox", "TWWKeyCombo",
                         "TWWDBDateTimePicker"});
        add("radiogroup", {"TWWRADIOGROUP"});
        add("Combobox", {"TDXDBPICKEDIT", "TDXDBCALCEDIT", "TDXDBIMAGEEDIT", "TDXDBPOPUPEDIT", "TDXDBEXTLOOKUPEDIT",
                         "TDXDBLOOKUPEDIT", "TDXDBDATEEDIT", "TDXDATEEDIT", "TDXPICKEDIT", "TDXPOPUPEDIT"});
        add("Edit", {"TDXDBCURRENCYEDIT", "TDXDBEDIT", "TDXDBMASKEDIT", "TDXDBHYPERLINKEDIT", "TDXEDIT",
                     "TDXMASKEDIT", "TWWDBEDIT", "TDXBUTTONEDIT", "TDXCURRENCYEDIT", "TDXHYPERLINKEDIT",
                     "TOVCPICTUREFIELD", "TOVCDBPICTUREFIELD", "TOVCSLIDEREDIT", "TOVCDBSLIDEREDIT",
                     "TOVCSIMPLEFIELD", "TOVCDBSIMPLEFIELD", "TO32DBFLEXEDIT", "TOVCNUMERICFIELD",
                     "TOVCDBNUMERICFIELD"});
        return v;
    }();
    return lines;
}

}  // namespace kt
