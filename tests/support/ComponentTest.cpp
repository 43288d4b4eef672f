#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <fzl/support/Component.h>

namespace fzl {
namespace {

using TLog = std::vector<std::string>;
TLog Log;  // "<listener> told <departing>" for every removal a TProbe hears of
TLog Take() { return std::exchange(Log, {}); }

struct TProbe : TComponent {
    TProbe(TComponent* AOwner, std::string ALabel) : TComponent(AOwner), Label(std::move(ALabel)) {}
    const std::string Label;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        // The departing component is still a whole TProbe, marked as destroying.
        const auto* Other = dynamic_cast<const TProbe*>(AComponent);
        const bool Whole = Other != nullptr && Other->ComponentState().Contains(csDestroying);
        if (Operation == opRemove) Log.push_back(Label + " told " + (Whole ? Other->Label : "<not whole>"));
    }
};

TProbe* New(const char* Label, TComponent* Owner = nullptr) { return Make<TProbe>(Owner, Label).release(); }

TEST(Component, OwnersAndFreeNotification) {
    TProbe* Owner = New("owner");
    TProbe *A = New("a", Owner), *B = New("b", Owner), *C = New("c", Owner), *D = New("d");
    TProbe* Grandchild = New("grandchild", C);
    Grandchild->FreeNotification(A);
    Grandchild->FreeNotification(B);
    Grandchild->FreeNotification(B);  // registering twice still tells once
    Grandchild->FreeNotification(D);
    Grandchild->FreeNotification(Grandchild);  // self and null registrations are ignored
    Grandchild->FreeNotification(nullptr);
    Grandchild->RemoveFreeNotification(D);
    B->Free();  // an owned component freed on its own leaves its owner, which is told; b's registration goes
    EXPECT_EQ(Take(), (TLog{"owner told b"}));
    EXPECT_EQ(std::pair(Owner->ComponentCount(), Owner->GetComponent(1)),
              std::pair(2, static_cast<TComponent*>(C)));
    Owner->Free();  // the whole tree goes, last first; a child freed by its owner still tells its watchers
    EXPECT_EQ(Take(), (TLog{"a told grandchild", "c told grandchild", "owner told c", "owner told a"}));
    TProbe* E = New("e");
    D->FreeNotification(E);  // watching each other: dropping one direction keeps the other
    E->FreeNotification(D);
    D->RemoveFreeNotification(E);
    E->Free();
    D->Free();
    EXPECT_EQ(Take(), (TLog{"d told e"}));
}

}  // namespace
}  // namespace fzl
