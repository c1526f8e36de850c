// The application object: title, the forms in creation order, the message loop, and the one
// place where an exception that escaped an event handler is shown.
#pragma once
#include <exception>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace kt::ui {

class TForm;

class TApplication : public TComponent {
    KT_CLASS(TApplication, TComponent)
public:
    static TApplication& Instance();

    std::string Title;
    TForm* MainForm() const { return mainForm_; }
    // Every form in creation order (the "screen's forms").
    const std::vector<TForm*>& Forms() const { return forms_; }

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T, class... Args>
    T* CreateForm(Args&&... args) {
        T* form = new T(this, std::forward<Args>(args)...);
        if (!mainForm_) mainForm_ = form;
        form->DoCreate();
        return form;
    }

    // Shows the main form and runs the message loop until Terminate.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // Releases the forms: their destroy handlers run, last created first.
    void DestroyForms();

    // The standard error box.
    void HandleException(const std::exception& e);

    void RegisterForm(TForm* form);
    void UnregisterForm(TForm* form);

private:
    TApplication() : TComponent(nullptr) {}
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
};

}  // namespace kt::ui
