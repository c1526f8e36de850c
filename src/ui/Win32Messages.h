// The message service that shows real Windows message boxes and file dialogs.
#pragma once
#include "core/MessageService.h"

namespace kt::ui {

class Win32Messages : public MessageService {
public:
    MsgResult Show(const std::string& text, const std::string& caption, MsgKind kind,
                   MsgButtons buttons) override;
    bool OpenFile(FileDialogRequest& request) override;
    bool FontDialog(FontChoice& font, const FontDialogOptions& options,
                    const std::function<void(const FontChoice&)>& onApply) override;
};

}  // namespace kt::ui
