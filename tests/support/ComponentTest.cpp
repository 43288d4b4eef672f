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
int Live = 0;

class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, std::string ALabel) : TComponent(AOwner), Label(std::move(ALabel)) { ++Live; }
    const std::string Label;

protected:
    ~TProbe() override { --Live; }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        // The departing component is still a whole TProbe, marked as destroying.
        const auto* Other = dynamic_cast<const TProbe*>(AComponent);
        const bool Whole = Other != nullptr && Other->ComponentState().Contains(csDestroying);
        if (Operation == opRemove) Log.push_back(Label + " told " + (Whole ? Other->Label : "<not whole>"));
    }
};

TProbe* New(const char* Label, TComponent* Owner = nullptr) { return Make<TProbe>(Owner, Label).release(); }

TEST(Component, OwnerFreesWhatItOwns) {
    const int LiveBefore = Live;
    TProbe* Owner = New("owner");
    New("a", Owner);
    TProbe* B = New("b", Owner);
    TProbe* C = New("c", Owner);
    New("grandchild", C);
    B->Free();  // an owned component freed on its own leaves its owner, which is told
    EXPECT_EQ(Take(), (TLog{"owner told b"}));
    ASSERT_EQ(Owner->ComponentCount(), 2);
    EXPECT_EQ(Owner->GetComponent(1), C);
    Owner->Free();  // the whole tree goes, last first
    EXPECT_EQ(Take(), (TLog{"c told grandchild", "owner told c", "owner told a"}));
    EXPECT_EQ(Live, LiveBefore);
}

TEST(Component, FreeNotificationIsOneWayAndNeverDangles) {
    TProbe* A = New("a");
    TProbe* B = New("b");
    TProbe* C = New("c");
    TProbe* D = New("d");
    A->FreeNotification(B);
    A->FreeNotification(B);  // registering twice still tells once
    A->FreeNotification(C);
    A->FreeNotification(D);
    A->FreeNotification(A);  // self and null registrations are ignored
    A->FreeNotification(nullptr);
    A->RemoveFreeNotification(C);
    D->Free();  // a is not told, and d's registration goes with it
    A->Free();
    EXPECT_EQ(Take(), (TLog{"b told a"}));
    B->FreeNotification(C);  // watching each other: dropping one direction keeps the other
    C->FreeNotification(B);
    B->RemoveFreeNotification(C);
    C->Free();
    B->Free();
    EXPECT_EQ(Take(), (TLog{"b told c"}));

    TProbe* Owner = New("owner");
    TProbe* Watcher = New("watcher");
    New("child", Owner)->FreeNotification(Watcher);
    Owner->Free();  // freed by its owner, the child still tells its watcher
    Watcher->Free();
    EXPECT_EQ(Take(), (TLog{"watcher told child", "owner told child"}));
}

}  // namespace
}  // namespace fzl
