// Message boxes, questions and file dialogs all go through one service, so that tests can
// answer them by script. The program installs the real Win32 service at start; native code
// that never sets one gets a service that answers as if the user pressed the default button.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kt {

enum class MsgKind { Plain, Information, Warning, Error, Confirmation };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
// Values match the Windows dialog results (IDOK, IDCANCEL, IDYES, IDNO).
enum class MsgResult { None = 0, OK = 1, Cancel = 2, Yes = 6, No = 7 };

struct FileDialogRequest {
    std::string title;
    std::string filter;       // "Skin files (*.skn)|*.skn|All files|*.*"
    std::string initialDir;
    std::string defaultExt;
    std::string fileName;     // in: proposed name; out: the chosen path
    bool mustExist = true;
    // Called each time the dialog moves to another folder, once the process's current folder
    // has followed it (the dialog moves it while the user browses).
    std::function<void()> onFolderChange;
};

struct FontChoice {
    std::string name;
    int size = 8;  // points
    bool bold = false, italic = false, underline = false, strikeout = false;
    bool operator==(const FontChoice&) const = default;
};

struct FontDialogOptions {
    int minSize = 0, maxSize = 0;  // points; 0: no limit
    bool effects = true;           // underline, strike-out and colour choices
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // caption empty: the application title.
    virtual MsgResult Show(const std::string& text, const std::string& caption, MsgKind kind,
                           MsgButtons buttons) = 0;
    // Returns false when the user cancels.
    virtual bool OpenFile(FileDialogRequest& request) = 0;
    // The font dialog, opened with `font`. With onApply set it has an Apply button, which
    // calls onApply with the font shown then. OK puts the chosen font into `font` and returns
    // true; Cancel returns false. A service without a font dialog cancels.
    virtual bool FontDialog(FontChoice& /*font*/, const FontDialogOptions& /*options*/,
                            const std::function<void(const FontChoice&)>& /*onApply*/) {
        return false;
    }
};

MessageService& Messages();
// Installs a service (not owned); nullptr restores the default one.
void SetMessageService(MessageService* service);

// Short forms of the common boxes.
void ShowMessage(const std::string& text);                          // plain box, OK
void ShowInformation(const std::string& text);                      // information icon, OK
MsgResult AskQuestion(const std::string& text,
                      MsgButtons buttons = MsgButtons::YesNo);       // question icon

// A service answered by script: each box takes the next queued answer (or its default
// button when the queue is empty) and is recorded for the test to inspect.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        std::string text, caption;
        MsgKind kind;
        MsgButtons buttons;
        MsgResult answer;
    };
    std::vector<Shown> shown;
    std::deque<MsgResult> answers;
    std::deque<std::string> files;  // answers to OpenFile; "" cancels

    MsgResult Show(const std::string& text, const std::string& caption, MsgKind kind,
                   MsgButtons buttons) override;
    bool OpenFile(FileDialogRequest& request) override;
    std::vector<FileDialogRequest> fileRequests;

    // One font dialog as the user works it: the fonts applied with Apply, in order, then OK
    // with `ok` (or Cancel when it is empty). With no script left the dialog is cancelled.
    struct FontSession {
        std::vector<FontChoice> applies;
        std::vector<FontChoice> ok;  // at most one: the font chosen with OK
    };
    std::deque<FontSession> fontSessions;
    struct FontRequest {
        FontChoice font;
        FontDialogOptions options;
        bool hasApply;
    };
    std::vector<FontRequest> fontRequests;
    bool FontDialog(FontChoice& font, const FontDialogOptions& options,
                    const std::function<void(const FontChoice&)>& onApply) override;

    std::string LastText() const { return shown.empty() ? std::string() : shown.back().text; }
};

// Installs a scripted service for the lifetime of the object.
class ScopedScriptedMessages : public ScriptedMessages {
public:
    ScopedScriptedMessages() { SetMessageService(this); }
    ~ScopedScriptedMessages() override { SetMessageService(nullptr); }
};

}  // namespace kt
