// Components: an owner destroys what it owns; components that asked to be told hear of each
// other's removal.
#pragma once
#include "Graphics.h"
#include <memory>
#include <string>
#include <vector>

namespace forms {

enum TOperation { opInsert, opRemove };
enum TComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* FindComponent(const std::string& name) const;

    std::string Name;
    intptr_t Tag = 0;
    unsigned ComponentState() const { return state_; }
    bool Designing() const { return state_ & csDesigning; }
    bool Loading() const { return state_ & csLoading; }
    bool Destroying() const { return state_ & csDestroying; }

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Asks to hear of `other`'s removal (both ways), as a reference to it is kept.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Streaming life cycle: a loader sets csLoading, assigns properties, then calls Loaded.
    void BeginLoading() { state_ |= csLoading; }
    virtual void Loaded() { state_ &= ~csLoading; }
    void SetDesigning(bool v) { state_ = v ? (state_ | csDesigning) : (state_ & ~csDesigning); }

    // Lives exactly as long as the component (see TLifeWatch).
    std::weak_ptr<const void> LifeToken() const { return life_; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void MarkDestroying() { state_ |= csDestroying; }

    void DestroyComponents();

private:
    std::shared_ptr<const char> life_ = std::make_shared<const char>('\0');
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    unsigned state_ = 0;
};

// Taken before an event handler runs, tells afterwards whether the handler freed the component
// (a handler may free its own control, or the form that holds it): code after an event call
// must not touch a freed object.
class TLifeWatch {
public:
    explicit TLifeWatch(const TComponent* c) : token_(c->LifeToken()) {}
    bool Alive() const { return !token_.expired(); }
private:
    std::weak_ptr<const void> token_;
};

}  // namespace forms
