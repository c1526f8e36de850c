// What the configuration window needs of the bar, and nothing more: the bar implements it and
// registers itself, so the configuration window never depends on the bar's class.
#pragma once
#include <string>

#include "app/core/CaptureKey.h"
#include "config/FolderSettings.h"

namespace kt::ui {
class TForm;
class TPopupMenu;
}  // namespace kt::ui

namespace kt {

class BarLink {
public:
    // The bar's window: shown, hidden and given the font together with the configuration window.
    virtual ui::TForm& BarWindow() = 0;
    // The notification-area menu, which is the configuration window's right-click menu too.
    virtual ui::TPopupMenu* TrayMenu() = 0;
    // The folders the bar read at start (the scheme folder, the program's start folder).
    virtual const TFolderSettings& BarFolders() const = 0;
    // The scheme file the bar opens next.
    virtual void SetSchemeFileName(const std::string& fileName) = 0;
    // A scheme file was renamed: when it is the bar's, the bar shows it under its new name.
    virtual void SchemeRenamed(const std::string& oldFile, const std::string& newFile) = 0;
    virtual void SetKeyDelay(int milliseconds) = 0;
    // The capture key: a new one is held from now on (false, and the old one kept, when the
    // system refuses it); while suspended the bar holds none, so the key reaches the window
    // in front (the box where the user chooses it).
    virtual bool ChangeCaptureKey(const CaptureKey& key) = 0;
    virtual void SuspendCaptureKey(bool suspended) = 0;

    // The scheme chooser and the buttons.
    virtual void LoadComboBoxFilename() = 0;   // the chooser reads the scheme folder again
    virtual void LoadButtonAssignment() = 0;   // the buttons are made again from the lists
    virtual void ComboBoxFilenameClick() = 0;  // the scheme the chooser names is loaded

    // The skin choice: SkinClick switches to the built-in skin of the index set before
    // (0 Blue, 1 Silver, 2 Green), SkinNoneClick to none; ButtonLoadSkinClick asks for a skin
    // file; SkinMenuCheck ticks the choice in the "Skins" menus.
    virtual void SetSkinIndex(int index) = 0;
    virtual void SkinClick() = 0;
    virtual void SkinNoneClick() = 0;
    virtual void ButtonLoadSkinClick() = 0;
    virtual void SkinMenuCheck() = 0;

protected:
    ~BarLink() = default;
};

// The bar, or nullptr while there is none.
BarLink* Bar();
// The bar registers itself when it is made and clears the link when it goes (nullptr).
void SetBar(BarLink* bar);

}  // namespace kt
