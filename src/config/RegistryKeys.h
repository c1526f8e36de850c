// Every registry key and value the program reads or writes, in one place.
// Keys are relative to HKEY_CURRENT_USER.
#pragma once

namespace kt::reg {

// The program's own settings live below this key.
inline constexpr const char* kBaseKey = "Software\\Orvall Software\\Ketravo\\";
// The settings dialog keeps the same key with a leading backslash; both address one key.
inline constexpr const char* kDialogBaseKey = "\\Software\\Orvall Software\\Ketravo\\";

// Sub-keys of the base key.
inline constexpr const char* kPath = "Path";
inline constexpr const char* kFile = "File";
inline constexpr const char* kWindowsButton = "Windows\\Button";
inline constexpr const char* kWindowsConfig = "Windows\\Config";
inline constexpr const char* kForm = "Form";
inline constexpr const char* kOptionsFonts = "Options\\Fonts";
inline constexpr const char* kOptionsSkins = "Options\\Skins";
inline constexpr const char* kOptionsTyping = "Options\\Typing";

// "Path": folders, stored with the drive placeholder.
inline constexpr const char* kPathApp = "PathApp";
inline constexpr const char* kCurrentDir = "CurrentDir";
inline constexpr const char* kInitialDir = "InitialDir";
inline constexpr const char* kOutputDir = "OutputDir";
inline constexpr const char* kPathProject = "PathProject";

// "File": the current scheme's file name.
inline constexpr const char* kFilename = "Filename";
inline constexpr const char* kDefaultFilename = "button.dat";

// "Windows\Button" and "Windows\Config": placement.
inline constexpr const char* kWindowState = "WindowState";
inline constexpr const char* kTop = "Top";
inline constexpr const char* kLeft = "Left";
inline constexpr const char* kWidth = "Width";
inline constexpr const char* kHeight = "Height";
// The screen resolution the size was stored at; missing in placements stored before it was
// kept, which were all made at 96.
inline constexpr const char* kPixelsPerInch = "PixelsPerInch";
inline constexpr const char* kStateNormal = "Normal";
inline constexpr const char* kStateMinimized = "Minimized";
inline constexpr const char* kStateMaximized = "Maximized";

struct Placement {
    int top, left, width, height;
};
inline constexpr Placement kButtonPlacementDefault{244, 14, 204, 161};
inline constexpr Placement kConfigPlacementDefault{135, 201, 594, 514};

// "Form": which window shows at start.
inline constexpr const char* kStart = "Start";
inline constexpr const char* kStartConfig = "Config";
inline constexpr const char* kStartButton = "Button";

// "Options\Fonts".
inline constexpr const char* kFontName = "FontName";
inline constexpr const char* kFontSize = "FontSize";
inline constexpr const char* kFontStyleBold = "FontStyleBold";
inline constexpr const char* kFontStyleItalic = "FontStyleItalic";
inline constexpr const char* kFontStyleUnderline = "FontStyleUnderline";
inline constexpr const char* kFontStyleStrikeout = "FontStyleStrikeout";
inline constexpr int kFontSizeDefault = 8;

// "Options\Skins".
inline constexpr const char* kSkinFile = "SkinFile";
inline constexpr const char* kSkinIndex = "SkinIndex";
inline constexpr int kSkinIndexNeverChosen = 999;

// "Options\Typing": the pause between two key strokes, for targets that drop keys coming in a
// burst; 0 types the whole text at once.
inline constexpr const char* kKeyDelay = "KeyDelay";
inline constexpr int kKeyDelayDefault = 0;
// "Options\Typing": the capture key as text ("Ctrl+T", "Ctrl+Shift+Y", "Alt+F9").
inline constexpr const char* kCaptureHotKey = "CaptureHotKey";

// Start with Windows.
inline constexpr const char* kRunKeyParent = "Software\\Microsoft\\Windows\\CurrentVersion\\";
inline constexpr const char* kRun = "Run";
inline constexpr const char* kRunOnce = "RunOnce";
inline constexpr const char* kRunValue = "Ketravo";
inline constexpr const char* kExeName = "KTRAVO.exe";

// The default passed when reading a value that the first run sets up.
inline constexpr const char* kFirstTime = "First Time";

}  // namespace kt::reg
