// The content of a skinned menu item: check mark or picture, caption, shortcut and the etched
// separator line, in the colours of the frame's skin. The item's background is the caller's.
// Also the property routine the frame uses to adjust the controls it skins.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "skin/data/WinSkinData.h"
#include "ui/Graphics.h"
#include "ui/Menus.h"

namespace kt {

// The side of an item's check mark or picture column at 96 pixels per inch; it grows with the
// screen's resolution, as the items' room for it does.
constexpr int kMenuGlyphSide = 16;
// What an item needs beside its texts at 96 (the glyph column and the gaps).
constexpr int kMenuItemExtraWidth = 28;

// The whole content of one item in rect.
void DrawSkinMenuItem(const TSkinDescription& skin, ui::TMenuItem& item, ui::TCanvas& canvas, bool selected,
                      const RECT& rect);
// Draws one text of the item, or with DT_CALCRECT in flags measures it into rect.
void DrawSkinMenuItemText(const TSkinDescription& skin, ui::TMenuItem& item, ui::TCanvas& canvas, UINT flags,
                          bool selected, RECT& rect, const std::string& text);

// Sets the enumeration property `propertyName` of component to the value named valueName
// ("True", "False"); a property the component lacks, or one that is not an enumeration,
// changes nothing. True when the property was set.
bool SetEnumProperty(ui::TComponent* component, std::string_view propertyName, std::string_view valueName);

}  // namespace kt
