#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

#include "core/MessageService.h"
#include "skin/data/WinSkinStore.h"
#include "SkinTestHelpers.h"

using namespace kt;
using namespace skintest;

namespace {

struct FakeManager : ISkinManager {
    std::vector<std::string>* log;
    explicit FakeManager(std::vector<std::string>* l) : log(l) {}
    void AddSkinData(TSkinData*) override { log->push_back("add"); }
    void RemoveSkinData(TSkinData*) override { log->push_back("remove"); }
    void InstallHook() override { log->push_back("hook"); }
    void ActivateForOwner(void*) override { log->push_back("owner"); }
    void PrepareRefresh() override { log->push_back("prepare"); }
    void SetCommandSkinData(TSkinData* d) override { log->push_back(d ? "command" : "nocommand"); }
    void PostCommand(int c, int ms) override { log->push_back("post" + std::to_string(c) + "@" + std::to_string(ms)); }
    void AddControl(void*, void* control) override { log->push_back(control ? "control" : "form"); }
};

// Installs a recording manager factory for one test and removes manager and factory after it.
struct ManagerScope {
    std::vector<std::string> log;
    ManagerScope() {
        SetSkinManagerFactory([this] { return std::make_unique<FakeManager>(&log); });
    }
    ~ManagerScope() {
        ReleaseSkinManager();
        SetSkinManagerFactory(nullptr);
    }
};

// The posted commands of a manager's log, in order; each must come right after its component
// was named, and after the manager got the component and its window hook.
std::vector<std::string> Posts(const std::vector<std::string>& log) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind("post", 0) != 0) continue;
        out.push_back(log[i]);
        EXPECT_TRUE(i > 0 && log[i - 1] == "command") << log[i] << " without its component named";
        EXPECT_TRUE(std::count(log.begin(), log.begin() + i, "add") && std::count(log.begin(), log.begin() + i, "hook"));
    }
    return out;
}

TSkinData& Parsed(TSkinData& d, const std::string& ini, const MapEntries& e = MapEntries()) {
    d.ParseDescription(ini, e);
    return d;
}

}  // namespace

// The component as the bar sets it up at design time: off, the disable tag 99, every control
// kind but FastReport's, and the engine's table of foreign control classes, whose 81 lines
// (three class names twice) and kinds per line are part of that set-up.
TEST(SkinData, ConstructedDefaultsAreTheBarsDesignTimeSetUp) {
    TSkinData d;
    EXPECT_FALSE(d.Active());
    EXPECT_EQ(d.DisableTag, 99);
    EXPECT_EQ(d.SkinControls, 0x1FFFFu);
    EXPECT_FALSE(d.HasControl(xcFastReport));
    EXPECT_TRUE(d.HasControl(xcTab));
    EXPECT_EQ(d.SkinFormtype, sfMainform);
    EXPECT_TRUE(d.Reloading());
    EXPECT_EQ(d.SkinStore(), "(none)");
    ASSERT_EQ(d.Skin3rd().size(), 81u);
    std::map<std::string, int> kinds;
    for (const auto& line : d.Skin3rd()) kinds[LowerAscii(line.substr(line.find('=') + 1))]++;
    EXPECT_EQ(kinds["edit"], 33);
    EXPECT_EQ(kinds["combobox"], 29);
    EXPECT_EQ(kinds["panel"], 8);
    EXPECT_EQ(kinds["checkbox"], 4);
    EXPECT_EQ(kinds["radiogroup"], 3);
    EXPECT_EQ(kinds["checkgroup"], 2);
    EXPECT_EQ(kinds["radiobutton"], 1);
    EXPECT_EQ(kinds["trackbar"], 1);
    EXPECT_EQ(d.Skin3rd().front(), "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(d.Skin3rd()[13], "TLMDTrackbar=trackbar");
    EXPECT_EQ(d.Skin3rd()[14], "TLMDListCombobox=combobox");
    EXPECT_EQ(d.Skin3rd().back(), "TOVCDBNUMERICFIELD=Edit");
    // The fixed objects exist from the start, the elements do not.
    EXPECT_EQ(d.FrameTop->Name, "Top");
    EXPECT_EQ(d.Title->Name, "Title");
    EXPECT_EQ(d.Buttons->Name, "Buttons");
    EXPECT_EQ(d.Tabs, nullptr);
}

TEST(SkinData, ParseRGBQuirks) {
    EXPECT_EQ(ParseRGB("210 232 249"), 210 + 256 * 232 + 65536 * 249);
    EXPECT_EQ(ParseRGB(" 255,255,255 "), 0xFFFFFF);
    EXPECT_EQ(ParseRGB("12 34"), 12);            // the last number counts only as the third
    EXPECT_EQ(ParseRGB("   "), 0);
    EXPECT_EQ(ParseRGB("1 2 3 4 5"), 1 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(ParseRGB("300,2,3"), 44 + 256 * 2 + 65536 * 3);  // low 8 bits
    EXPECT_EQ(ParseRGB("99999999999 1 2"), 0);   // a failed number keeps its digits: all later fail
    EXPECT_EQ(ParseRGB("1,99999999999 2"), 1);
    EXPECT_EQ(ParseRGB("-5;6;7"), 5 + 256 * 6 + 65536 * 7);
    EXPECT_EQ(StrToColour("", SysColour(8)), TColour(0x80000008));
    EXPECT_EQ(StrToColour("1 2 3", SysColour(8)), 0x030201);
}

TEST(SkinDescription, ColoursOnlyGivesAbsentElementsAndTheNamedColours) {
    TSkinData d;
    Parsed(d, "[Colours]\nButtonFace=10 20 30\nMenuText=1,2,3\n[colour1]\ncolor=4 5 6\n[COLOURSX]\n[Colours]\n");
    EXPECT_FALSE(d.Reloading());
    EXPECT_EQ(d.ButtonFace, 0x1E140A);
    EXPECT_EQ(d.Menubar, 0x1E140A);  // defaults to the face colour just read
    EXPECT_EQ(d.MenuText, 0x030201);
    EXPECT_EQ(d.WindowText, SysColour(8));
    EXPECT_EQ(d.TitleTextNoActive, TColour(0x80000013));
    EXPECT_EQ(d.FaceBrushColour, 0x1E140A);
    // "colour1" and "COLOURSX" add entries; the two "Colours" sections do not.
    ASSERT_EQ(d.SectionColours.size(), 2u);
    EXPECT_EQ(d.SectionColours[0], 0x060504);
    EXPECT_EQ(d.SectionColours[1], SysColour(8));
    EXPECT_TRUE(d.FrameLeft->Image.Empty());
    EXPECT_EQ(d.FrameLeft->FrameCount, 1);
    EXPECT_TRUE(d.Buttons->Image.Empty());
    EXPECT_EQ(d.Buttons->FrameCount, 5);
    EXPECT_EQ(d.Title->FrameCount, 2);
    EXPECT_EQ(d.Title->FontHeight, 14);
    EXPECT_EQ(d.Buttons->NormalColour2, SysColour(18));
    for (auto* e : {d.Tabs.get(), d.Progress.get(), d.UpDownHorz.get()}) EXPECT_EQ(e, nullptr);
    EXPECT_EQ(d.MenuItem, nullptr);
    EXPECT_EQ(d.Scrollbar, nullptr);
    ASSERT_EQ(d.SysButtons.size(), 3u);  // only the MDI buttons
    EXPECT_TRUE(d.SysButtons[0]->Image.Empty());
}

TEST(SkinDescription, FrameEdgesTitleAndMenuBar) {
    MapEntries e;
    e.Add("left.bmp", Bmp(8, 40));
    e.Add("top.bmp", Bmp(50, 60));
    e.Add("back.bmp", Bmp(30, 40));
    e.Add("bar.bmp", Bmp(30, 40));
    TSkinData d;
    Parsed(d,
           "[Personality]\nLeft=left.bmp\nLeftTopHeight=30\nLeftBotHeight=5\nLeftFrame=2\nLeftStretch=0\n"
           "Top=top.bmp\nTopTopHeight=12\nTopBotHeight=14\nTopFrame=2\nTopTrans=0\nBottomFrame=0\n"
           "TextBack=back.bmp\nTextShift=7\nTextShiftVert=3\nTextRightClip=40\nTextAlignment=1\nTXTBackleft=4\n"
           "TXTBackRight=6\nActiveTextR=255\nActiveTextG=0\nActiveTextB=256\nInActiveTextR=1\nInActiveTextG=2\n"
           "menuBar=bar.bmp\nTileMenu=1\n[Fonts]\nFontHeight=11\n",
           e);
    EXPECT_EQ(d.FrameLeft->TopHeight, 30);
    EXPECT_EQ(d.FrameLeft->BottomHeight, 5);
    EXPECT_EQ(d.FrameLeft->LeftWidth, 0);
    EXPECT_EQ(d.FrameLeft->FrameCount, 2);
    EXPECT_EQ(d.FrameLeft->Tile, 0);
    EXPECT_EQ(d.FrameLeft->Trans, 1);
    EXPECT_EQ(d.FrameLeft->Image.Width(), 8);
    // Top and Bottom: the two fixed pieces lie along the edge.
    EXPECT_EQ(d.FrameTop->LeftWidth, 12);
    EXPECT_EQ(d.FrameTop->RightWidth, 14);
    EXPECT_EQ(d.FrameTop->TopHeight, 0);
    EXPECT_EQ(d.FrameTop->Trans, 0);
    EXPECT_EQ(d.FrameTop->Tile, 1);
    EXPECT_EQ(d.FrameBottom->FrameCount, 1);  // a zero count would divide by zero in the frame
    EXPECT_EQ(d.Title->LeftWidth, 7);
    EXPECT_EQ(d.Title->TopHeight, 3);
    EXPECT_EQ(d.Title->RightWidth, 40);
    EXPECT_EQ(d.Title->TextAlignment, 1);
    EXPECT_EQ(d.Title->TextBackLeft, 4);
    EXPECT_EQ(d.Title->TextBackRight, 6);
    EXPECT_EQ(d.Title->FontHeight, 11);
    EXPECT_EQ(d.Title->ActiveTextColour, 0x0000FF);       // 256 keeps its low 8 bits
    EXPECT_EQ(d.Title->InactiveTextColour, kNoTitleColour);  // blue missing
    EXPECT_EQ(d.Title->Image.Height(), 40);
    ASSERT_NE(d.MenuBar, nullptr);
    EXPECT_EQ(d.MenuBar->Name, "Personality");
    EXPECT_EQ(d.MenuBar->Tile, 1);
    EXPECT_EQ(d.MenuBar->LeftWidth, 1);
    EXPECT_EQ(d.MenuBar->RightWidth, 1);
    EXPECT_EQ(d.MenuBar->FrameCount, 2);
}

TEST(SkinDescription, SectionsAndImagesAreFoundAsThePlatformFindsThem) {
    MapEntries e;
    e.Add("tb.bmp", Bmp(50, 10));
    e.Add("mi.bmp", Bmp(50, 10));
    e.Add("mdi.bmp", Bmp(12 * 5 + 3, 9));
    TSkinData d;
    Parsed(d,
           "[ToolBars]\nImage=tb.bmp\nTile=2\n[menuitem]\nImage=c:\\skins\\old\\MI.bmp\nTile=1\n"
           "[mdiCONTROLS]\nImage=mdi.bmp\n[Headerbar]\nImage=tb.BMP\n[Progress]\nBitmap=tb.bmp\nTile=2\n"
           "[SunkEdge]\nImage=missing.bmp\n[ExtraImages]\nImage=\n",
           e);
    ASSERT_NE(d.Toolbars, nullptr);
    EXPECT_EQ(d.Toolbars->Tile, 0);          // 2 is not a tile flag
    EXPECT_EQ(d.Toolbars->FrameCount, 5);
    EXPECT_EQ(d.Toolbars->Name, "Toolbars");
    ASSERT_NE(d.MenuItem, nullptr);
    EXPECT_EQ(d.MenuItem->Image.Width(), 50);  // the folder part is ignored
    EXPECT_EQ(d.MenuItem->Tile, 1);
    ASSERT_NE(d.Headerbar, nullptr);
    EXPECT_TRUE(d.Headerbar->Image.Empty());   // ".BMP" in capitals is not taken
    ASSERT_NE(d.Progress, nullptr);
    EXPECT_EQ(d.Progress->Tile, 2);            // the progress element keeps it
    ASSERT_NE(d.SunkEdge, nullptr);            // named but missing: present without a picture
    EXPECT_TRUE(d.SunkEdge->Image.Empty());
    EXPECT_EQ(d.ExtraImages, nullptr);         // no name: absent
    // MDI buttons: cell 5 of the 63-pixel strip, 20 pixels each.
    ASSERT_EQ(d.SysButtons.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const auto& b = *d.SysButtons[std::size_t(k)];
        EXPECT_EQ(b.Action, 7 + k);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.FrameCount, 4);
        EXPECT_EQ(b.Image.Width(), 20);
        EXPECT_EQ(b.Image.Height(), 9);
        EXPECT_EQ(b.XCoord, 9 * (3 - k));
    }
}

TEST(SkinDescription, SystemButtonsAndTheirFrameCounts) {
    MapEntries e;
    e.Add("narrow.bmp", Bmp(60, 20));
    e.Add("wide.bmp", Bmp(120, 20));
    TSkinData d;
    Parsed(d,
           "[Button0]\nAction=0\nAlign=1\nXcoord=30\nYcoord=4\nButtonImage=narrow.bmp\n"
           "[Buttons]\n[BUTTON.RADIO]\n[button.checkbox]\n"
           "[Button3]\nAction=1\nButtonImage=wide.bmp\nVisibility=6\nVisibility1=7\n"
           "[ButtonIcon]\nAction=3\nButtonImage=narrow.bmp\n[ButtonNeg]\nAction=-1\nButtonImage=narrow.bmp\n"
           "[ButtonFixed]\nframe=2\nButtonImage=wide.bmp\n[ButtonBad]\nframe=-4\n",
           e);
    ASSERT_EQ(d.SysButtons.size(), 6u + 3u);
    const auto& b0 = *d.SysButtons[0];
    EXPECT_EQ(b0.Name, "BUTTON0");
    EXPECT_EQ(b0.Align, 1);
    EXPECT_EQ(b0.XCoord, 30);
    EXPECT_EQ(b0.YCoord, 4);
    EXPECT_EQ(b0.CombineOp, -1);
    EXPECT_EQ(b0.FrameCount, 3);               // 60 x 20: ratio 3
    EXPECT_EQ(d.SysButtons[1]->FrameCount, 6);  // 120 x 20: ratio 6
    EXPECT_EQ(d.SysButtons[1]->Visibility, 6);
    EXPECT_EQ(d.SysButtons[1]->Visibility1, 7);
    EXPECT_TRUE(d.SysButtons[2]->Image.Empty());  // the icon button draws the window icon
    EXPECT_EQ(d.SysButtons[3]->FrameCount, 6);    // negative action
    EXPECT_EQ(d.SysButtons[4]->FrameCount, 2);    // given by the description
    EXPECT_FALSE(d.SysButtons[4]->Image.Empty());
    EXPECT_EQ(d.SysButtons[5]->FrameCount, 1);    // a negative count is taken as 1
    EXPECT_EQ(d.SysButtons[6]->Action, 7);
}

TEST(SkinDescription, ButtonsCheckAndRadioPictures) {
    MapEntries e;
    e.Add("b.bmp", Bmp(100, 20));
    e.Add("r.bmp", Bmp(52, 13));
    e.Add("c.bmp", Bmp(128, 16));
    TSkinData d;
    Parsed(d,
           "[Colours]\nButtonText=9 9 9\n[Buttons]\nBitmap=b.bmp\nLeftWidth=3\nTrans=1\nTile=2\n"
           "RadioButton=r.bmp\nCheckButton=c.bmp\nNormalColour=255\nMouseOverColour2=1 1 1\n",
           e);
    const auto& b = *d.Buttons;
    EXPECT_EQ(b.Image.Width(), 100);
    EXPECT_EQ(b.LeftWidth, 3);
    EXPECT_EQ(b.Trans, 1);
    EXPECT_EQ(b.Tile, 2);
    EXPECT_EQ(b.RadioFrameCount, 4);
    EXPECT_EQ(b.CheckFrameCount, 8);
    EXPECT_EQ(b.NormalColour, 255);
    EXPECT_EQ(b.PressedColour, kNoColour);
    EXPECT_EQ(b.NormalColour2, 0x090909);  // the button text colour of this description
    EXPECT_EQ(b.MouseOverColour2, 0x010101);
    // Pictures wide enough for more than four frames, and explicit counts.
    TSkinData d2;
    Parsed(d2, "[Buttons]\nRadioButtonFrame=2\n");
    EXPECT_EQ(d2.Buttons->RadioFrameCount, 2);
    EXPECT_EQ(d2.Buttons->CheckFrameCount, 4);  // no picture: at least 4
}

TEST(SkinDescription, ABadPictureLeavesThePreviousSkinInPlace) {
    MapEntries good;
    good.Add("t.bmp", Bmp(40, 10));
    TSkinData d;
    Parsed(d, "[Tabs]\nImage=t.bmp\nBorder=t.bmp\n[TitlebarSkin]\nSkinName=First\n", good);
    ASSERT_NE(d.Tabs, nullptr);
    EXPECT_EQ(d.Tabs->Image2.Width(), 40);
    EXPECT_EQ(d.SkinName, "First");
    MapEntries bad;
    bad.Add("t.bmp", Bytes("BM this is no picture"));
    bad.Add("ok.bmp", Bmp(4, 4));
    d.SetSkinFile("/nonexistent/skin.skn");  // sets Reloading, keeps the model
    EXPECT_TRUE(d.Reloading());
    EXPECT_THROW(d.ParseDescription("[TitlebarSkin]\nSkinName=Second\n[Toolbars]\nImage=ok.bmp\n[Tabs]\nImage=t.bmp\n",
                                    bad),
                 EInvalidGraphic);
    EXPECT_TRUE(d.Reloading());
    EXPECT_EQ(d.SkinName, "First");
    ASSERT_NE(d.Tabs, nullptr);
    EXPECT_EQ(d.Tabs->Image.Width(), 40);
    EXPECT_EQ(d.Toolbars, nullptr);
}

TEST(SkinData, LoadsFromTheStoreAndReplacesTheModel) {
    ManagerScope scope;
    TSkinStore store;
    const std::string ini = "[TitlebarSkin]\nSkinName=S\n[Toolbars]\nImage=tb.bmp\n[Scrollbar]\nImage=sb.bmp\n";
    for (int i = 0; i < 3; ++i) {
        auto& item = store.Store().Add();
        item.Data() = Container({{"tb.bmp", Bmp(50, 10)}, {"sb.bmp", Bmp(230, 16)}, {"Skin" + std::to_string(i) + ".ini", Bytes(ini)}});
    }
    TSkinData d;
    const long before = TDataSkinObject::LiveCount();
    d.LoadFromStore(store, 0);
    EXPECT_FALSE(d.Reloading());
    ASSERT_NE(d.Scrollbar, nullptr);
    EXPECT_EQ(d.Scrollbar->FrameCount, 23);
    const long loaded = TDataSkinObject::LiveCount();
    EXPECT_GT(loaded, before);
    d.LoadFromStore(store, 1);
    d.LoadFromStore(store, 2);
    EXPECT_EQ(TDataSkinObject::LiveCount(), loaded);  // replaced, not added
    // The manager was created by the first load and asked to refresh after each.
    const std::vector<std::string> firstLoad{"add", "hook", "command", "prepare", "post3@250"};
    ASSERT_GE(scope.log.size(), firstLoad.size());
    EXPECT_EQ(std::vector<std::string>(scope.log.begin(), scope.log.begin() + 5), firstLoad);
    EXPECT_EQ(std::count(scope.log.begin(), scope.log.end(), "post3@250"), 3);
    // Index at the count: nothing changes. Negative: the collection's index error.
    scope.log.clear();
    d.LoadFromStore(store, 3);
    EXPECT_TRUE(scope.log.empty());
    EXPECT_FALSE(d.Reloading());
    EXPECT_THROW(d.LoadFromStore(store, -1), EListError);
    EXPECT_FALSE(d.Reloading());
}

TEST(SkinData, ContainersThatCannotBeRead) {
    TSkinData d;
    {
        ScopedScriptedMessages msgs;
        d.SkinStream = Container({{"a.ini", Bytes("[Colours]\n")}}, 19999);
        EXPECT_FALSE(d.UnpackSkin());
        EXPECT_TRUE(d.Reloading());
        ASSERT_EQ(msgs.shown.size(), 1u);
        EXPECT_EQ(msgs.LastText(), "This is Older Skin File\rPlease update to new version !");
    }
    d.SkinStream = Container({{"a.bmp", Bmp(2, 2)}});
    EXPECT_THROW(d.UnpackSkin(), EInOutError);
    EXPECT_TRUE(d.Reloading());
    d.SkinStream = Container({{"A.INI", Bytes("[TitlebarSkin]\nSkinName=Upper\n")}});
    EXPECT_TRUE(d.UnpackSkin());
    EXPECT_EQ(d.SkinName, "Upper");
    EXPECT_FALSE(d.Reloading());
}

TEST(SkinData, SkinFileLoadsAnExistingFileAndIgnoresAMissingOne) {
    const std::string path = ::testing::TempDir() + "/skinmodel_test.skn";
    {
        std::ofstream out(path, std::ios::binary);
        auto bytes = Container({{"s.ini", Bytes("[TitlebarSkin]\nSkinName=FromFile\n")}});
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    TSkinData d;
    d.SetSkinFile(path);
    EXPECT_EQ(d.SkinFile(), path);
    EXPECT_EQ(d.SkinName, "FromFile");
    EXPECT_FALSE(d.Reloading());
    d.SetSkinFile(path + ".missing");
    EXPECT_TRUE(d.Reloading());
    EXPECT_EQ(d.SkinName, "FromFile");
    std::remove(path.c_str());
}

TEST(SkinData, ActiveGoesThroughTheManagerOnlyWhenASkinIsReady) {
    ManagerScope scope;
    TSkinData d;
    d.SetActive(true);  // no skin yet: reads True, skins nothing
    EXPECT_TRUE(d.Active());
    EXPECT_TRUE(scope.log.empty());
    d.ParseDescription("[Colours]\n", MapEntries());
    d.SetActive(false);
    d.SetActive(true);
    // Both requests are posted, a quarter second ahead, in order; each names its component
    // first, so a manager that carries it out at once tells this one.
    EXPECT_EQ(Posts(scope.log), (std::vector<std::string>{"post2@250", "post1@250"}));
    // While the form is being read only the value is recorded.
    TSkinData loading;
    scope.log.clear();
    loading.BeginLoading();
    loading.SetActive(true);
    loading.UpdateSkin();
    EXPECT_TRUE(scope.log.empty());
    loading.Loaded();  // no skin yet: switching on is dropped
    EXPECT_FALSE(loading.Active());
    // Read with a skin already in place: the switch-on command names its component.
    TSkinData ready;
    ready.BeginLoading();
    ready.ParseDescription("", MapEntries());
    ready.SetActive(true);
    scope.log.clear();
    ready.Loaded();
    EXPECT_EQ(Posts(scope.log), std::vector<std::string>{"post1@250"});
    EXPECT_TRUE(ready.Active());
    // Dialog components never post on Active.
    TSkinData dialog;
    dialog.SkinFormtype = sfDialog;
    scope.log.clear();
    dialog.ParseDescription("", MapEntries());
    dialog.SetActive(true);
    EXPECT_TRUE(scope.log.empty());
    dialog.Loaded();
    EXPECT_EQ(scope.log.back(), "owner");
    d.AddControl(nullptr, nullptr);
    EXPECT_EQ(scope.log.back(), "form");
}

TEST(SkinData, FormSkinQuestionAndChangeEvent) {
    TSkinData d;
    auto ask = [&](const std::string& name) {
        bool doSkin = true;
        d.CheckFormSkin(name, doSkin);
        return doSkin;
    };
    EXPECT_FALSE(ask("SysMonthCal32"));
    EXPECT_TRUE(ask("TfrPreview"));  // xcFastReport is not in the default set
    d.SkinControls |= SkinControlBit(xcFastReport);
    EXPECT_FALSE(ask("TfrPreview"));
    EXPECT_TRUE(ask("tfrPreview"));
    d.OnFormSkin = [](TSkinData&, const std::string& n, bool& s) { s = n == "SysMonthCal32"; };
    EXPECT_TRUE(ask("SysMonthCal32"));
    int fired = 0;
    d.DoSkinChanged();
    d.OnSkinChanged = [&](TSkinData& s) { fired += &s == &d; };
    d.DoSkinChanged();
    EXPECT_EQ(fired, 1);
}

TEST(SkinData, SkinStreamProperty) {
    TSkinData d;
    const std::uint8_t empty[] = {0, 0, 0, 0, 9};
    EXPECT_EQ(d.ReadSkinStream(empty, sizeof empty), 4u);
    EXPECT_TRUE(d.Reloading());
    const std::uint8_t shortData[] = {10, 0, 0, 0, 1, 2};
    EXPECT_THROW(d.ReadSkinStream(shortData, sizeof shortData), EInOutError);
    d.SkinStream = Container({{"x.ini", Bytes("[TitlebarSkin]\nSkinName=Prop\n")}});
    std::vector<std::uint8_t> out;
    d.WriteSkinStream(out);
    TSkinData e;
    EXPECT_EQ(e.ReadSkinStream(out.data(), out.size()), out.size());
    EXPECT_EQ(e.SkinName, "Prop");
}
