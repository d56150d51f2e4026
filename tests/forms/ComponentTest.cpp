#include "forms/Component.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace forms;

namespace {
std::vector<std::string> destroyed;

struct Probe : TComponent {
    Probe(TComponent* owner, std::string name) : TComponent(owner) { Name = std::move(name); }
    ~Probe() override { destroyed.push_back(Name); }
    std::vector<std::string> removals;
    TComponent* watched = nullptr;
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) {
            removals.push_back(c->Name);
            if (c == watched) watched = nullptr;
        }
    }
};
}  // namespace

TEST(Ownership, OwnerDestroysWhatItOwnsLastMadeFirst) {
    destroyed.clear();
    auto* owner = new Probe(nullptr, "owner");
    new Probe(owner, "a");
    auto* b = new Probe(owner, "b");
    new Probe(b, "b1");
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(destroyed, (std::vector<std::string>{"owner", "b", "b1", "a"}));
}

TEST(Ownership, DestroyingAnOwnedComponentTakesItOffTheList) {
    Probe owner(nullptr, "owner");
    auto* a = new Probe(&owner, "a");
    auto* b = new Probe(&owner, "b");
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components()[0]->Name, "b");
    EXPECT_EQ(owner.FindComponent("b"), owner.Components()[0]);
    EXPECT_EQ(owner.FindComponent("a"), nullptr);
    EXPECT_EQ(b->removals, std::vector<std::string>{"a"}) << "siblings hear of the removal";
    EXPECT_EQ(owner.removals, std::vector<std::string>{"a"});
}

TEST(Ownership, FreeNotificationClearsAReferenceAcrossOwnersUntilRemoved) {
    Probe ownerA(nullptr, "A"), ownerB(nullptr, "B");
    auto* user = new Probe(&ownerA, "user");
    auto* target = new Probe(&ownerB, "target");
    user->watched = target;
    user->FreeNotification(target);
    delete target;
    EXPECT_EQ(user->watched, nullptr);
    target = new Probe(&ownerB, "target");
    user->FreeNotification(target);
    user->RemoveFreeNotification(target);
    user->removals.clear();
    delete target;
    EXPECT_TRUE(user->removals.empty());
}

TEST(Ownership, MovingToAnotherOwner) {
    Probe a(nullptr, "a"), b(nullptr, "b");
    auto* c = new Probe(&a, "c");
    b.InsertComponent(c);
    EXPECT_EQ(a.ComponentCount(), 0);
    EXPECT_EQ(c->Owner(), &b);
}

TEST(Ownership, LoadedClearsTheLoadingState) {
    Probe c(nullptr, "c");
    c.BeginLoading();
    EXPECT_TRUE(c.Loading());
    c.Loaded();
    EXPECT_FALSE(c.Loading());
}
