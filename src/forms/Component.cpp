#include "Component.h"
#include <algorithm>

namespace forms {

namespace {
void Erase(std::vector<TComponent*>& v, TComponent* c) { v.erase(std::remove(v.begin(), v.end(), c), v.end()); }
}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    MarkDestroying();
    // Everyone who keeps a reference to this component hears of its removal first.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // The last made goes first; each one removes itself from the list.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        c->MarkDestroying();
        delete c;
    }
}

void TComponent::InsertComponent(TComponent* c) {
    if (c->owner_) c->owner_->RemoveComponent(c);
    components_.push_back(c);
    c->owner_ = this;
    for (TComponent* other : components_) other->Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    for (TComponent* other : std::vector<TComponent*>(components_)) other->Notification(c, opRemove);
    Notification(c, opRemove);
    Erase(components_, c);
    c->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (!name.empty() && c->Name == name) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    Erase(freeNotifies_, other);
    Erase(other->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    (void)component;
    (void)operation;
}

}  // namespace forms
