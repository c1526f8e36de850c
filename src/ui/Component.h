// The base of every object of the windowing toolkit: a name, a tag, an owner that frees it,
// the list of what it owns in creation order, and a framework-style class name with an
// "is a kind of" test.
#pragma once
#include <string>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace kt::ui {

// Declares the class name and the "is a kind of" chain of a toolkit class. Extra names let a
// class answer for the abstract ancestors the skin engine asks about ("TCustomButton").
#define KT_CLASS(Name, Base, ...)                                                 \
public:                                                                          \
    const char* ClassName() const override { return #Name; }                     \
    bool IsKindOf(std::string_view name) const override {                        \
        for (std::string_view n : std::initializer_list<std::string_view>{#Name, ##__VA_ARGS__}) \
            if (n == name) return true;                                          \
        return Base::IsKindOf(name);                                             \
    }                                                                            \
                                                                                 \
private:

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;
    int Tag = 0;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* FindComponent(std::string_view name) const;

    virtual const char* ClassName() const { return "TComponent"; }
    virtual bool IsKindOf(std::string_view name) const { return name == "TComponent"; }

    // Sets a named enumeration property ("Flat", "Transparent") where the class has one.
    virtual bool SetEnumProperty(std::string_view /*name*/, int /*value*/) { return false; }

protected:
    // Called by an owned component when it is freed first.
    void RemoveComponent(TComponent* c);

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
    bool destroying_ = false;
};

}  // namespace kt::ui
