#include "core/MessageService.h"

namespace kt {

namespace {

MsgResult DefaultAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
        case MsgButtons::OKCancel: return MsgResult::OK;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
    }
    return MsgResult::OK;
}

class SilentMessages : public MessageService {
public:
    MsgResult Show(const std::string&, const std::string&, MsgKind, MsgButtons buttons) override {
        return DefaultAnswer(buttons);
    }
    bool OpenFile(FileDialogRequest&) override { return false; }
};

SilentMessages g_silent;
MessageService* g_service = nullptr;

}  // namespace

MessageService& Messages() { return g_service ? *g_service : g_silent; }
void SetMessageService(MessageService* service) { g_service = service; }

void ShowMessage(const std::string& text) {
    Messages().Show(text, "", MsgKind::Plain, MsgButtons::OK);
}
void ShowInformation(const std::string& text) {
    Messages().Show(text, "", MsgKind::Information, MsgButtons::OK);
}
MsgResult AskQuestion(const std::string& text, MsgButtons buttons) {
    return Messages().Show(text, "", MsgKind::Confirmation, buttons);
}

MsgResult ScriptedMessages::Show(const std::string& text, const std::string& caption,
                                 MsgKind kind, MsgButtons buttons) {
    MsgResult answer = DefaultAnswer(buttons);
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    shown.push_back({text, caption, kind, buttons, answer});
    return answer;
}

bool ScriptedMessages::OpenFile(FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) return false;
    std::string f = files.front();
    files.pop_front();
    if (f.empty()) return false;
    request.fileName = f;
    return true;
}

bool ScriptedMessages::FontDialog(FontChoice& font, const FontDialogOptions& options,
                                  const std::function<void(const FontChoice&)>& onApply) {
    fontRequests.push_back({font, options, static_cast<bool>(onApply)});
    if (fontSessions.empty()) return false;
    FontSession session = fontSessions.front();
    fontSessions.pop_front();
    if (onApply)
        for (const FontChoice& f : session.applies) onApply(f);
    if (session.ok.empty()) return false;
    font = session.ok.front();
    return true;
}

}  // namespace kt
