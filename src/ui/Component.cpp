#include "ui/Component.h"

#include <algorithm>

namespace kt::ui {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Free owned components in reverse creation order: later ones may refer to earlier ones.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
    if (owner_ && !owner_->destroying_) owner_->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (TComponent* c : components_)
        if (c->Name == name) return c;
    return nullptr;
}

}  // namespace kt::ui
