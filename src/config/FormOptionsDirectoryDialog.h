// The settings dialog "Ketravo Settings": the project and output (scheme) folders. Opened
// from the configuration window's "&Settings", without blocking; several may be open, and
// they share the values below for the rest of the run.
#pragma once
#include <functional>
#include <string>

#include "config/VtRegistryComponent.h"
#include "ui/Dialogs.h"
#include "ui/StdCtrls.h"

namespace kt {

// Values of the dialog's unit: empty at program start, kept across dialogs.
extern std::string ProjectPath;        // the project folder as last loaded, edited or stored
extern std::string OutputPath;         // the output folder as last loaded, edited or stored
extern std::string LastBrowsedFolder;  // the folder the open dialog showed last

class TFormOptionsDirectory : public ui::TDialogForm {
    KT_CLASS(TFormOptionsDirectory, ui::TDialogForm)
public:
    explicit TFormOptionsDirectory(ui::TComponent* owner);

    ui::TLabel* LabelTitle;
    ui::TLabel* LabelPathProject;
    ui::TEdit* EditPathProject;
    ui::TButton* ButtonProjPath;
    ui::TLabel* LabelOutputDir;
    ui::TEdit* EditOutputDir;
    ui::TButton* ButtonOutputDir;
    ui::TBitBtn* ButtonOK;
    ui::TBitBtn* ButtonCancel;
    ui::TOpenDialog* OpenDialog1;

    std::string BaseKey;
    // A relative folder typed into a box lies inside this folder.
    std::string ProgramFolder;
    // The output folder's Set Path hands the new folder to the owner at once (not on OK).
    std::function<void(const std::string& folder)> OnSchemeFolderChange;

    void FormCreate();
    void ButtonOKClick();
    void ButtonCancelClick();
    void ButtonProjPathClick();
    void ButtonOutputDirClick();
    // Either box: each updates its own value.
    void EditPathProjectChange(ui::TEdit* sender);
    void EditPathProjectDblClick(ui::TEdit* sender);
    void OpenDialog1FolderChange();

private:
    void SetBoxText(ui::TEdit* box, const std::string& text);
    // Set Path: true when the open dialog showed a folder, which is then in the box.
    bool BrowseInto(ui::TEdit* box, const std::string& current);
};

// "&Settings": a new dialog owned by the configuration window, with its font, shown at once.
TFormOptionsDirectory* ShowSettingsDialog(ui::TForm& owner,
                                          std::function<void(const std::string& folder)> onSchemeFolderChange);

}  // namespace kt
