#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/Component.h"

namespace fzl {
namespace {

using TLog = std::vector<std::string>;

/// A component with derived data (a label) that logs the removals it is told about
/// and counts live instances.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, std::string Label, TLog& Log)
        : TComponent(AOwner), FLabel(std::move(Label)), FLog(Log) {
        ++Live;
    }
    [[nodiscard]] const std::string& Label() const { return FLabel; }
    [[nodiscard]] std::string ClassName() const override { return "TProbe"; }

    static inline int Live = 0;

protected:
    ~TProbe() override { --Live; }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        // The departing component must still be a whole TProbe, marked as destroying.
        const auto* Other = dynamic_cast<const TProbe*>(AComponent);
        std::string Entry = FLabel + " told " + (Other != nullptr ? Other->Label() : "<not whole>");
        if (!AComponent->ComponentState().Contains(csDestroying)) Entry += " (not destroying)";
        FLog.push_back(Entry);
    }

private:
    std::string FLabel;
    TLog& FLog;
};

TProbe* NewProbe(TComponent* Owner, const std::string& Label, TLog& Log) {
    return Make<TProbe>(Owner, Label, Log).release();
}

TEST(Component, OwnerFreesItsComponents) {
    TLog Log;
    const int LiveBefore = TProbe::Live;
    TProbe* Owner = NewProbe(nullptr, "owner", Log);
    TProbe* A = NewProbe(Owner, "a", Log);
    TProbe* B = NewProbe(Owner, "b", Log);
    TProbe* C = NewProbe(Owner, "c", Log);
    EXPECT_EQ(A->Owner(), Owner);
    EXPECT_EQ(A->GetOwner(), Owner);
    EXPECT_EQ(Owner->Owner(), nullptr);
    ASSERT_EQ(Owner->ComponentCount(), 3);
    EXPECT_EQ(Owner->GetComponent(0), A);
    EXPECT_EQ(Owner->GetComponent(2), C);

    // An owned component freed on its own leaves its owner, which is told.
    B->Free();
    EXPECT_EQ(Log, (TLog{"owner told b"}));
    ASSERT_EQ(Owner->ComponentCount(), 2);
    EXPECT_EQ(Owner->GetComponent(1), C);

    // A component owned by an owned component goes with the whole tree.
    NewProbe(C, "grandchild", Log);
    Log.clear();
    Owner->Free();
    EXPECT_EQ(TProbe::Live, LiveBefore);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "owner told a"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "owner told c"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "c told grandchild"), 1);
}

TEST(Component, FreeNotificationTellsTheRegisteredComponent) {
    TLog Log;
    const int LiveBefore = TProbe::Live;
    TProbe* A = NewProbe(nullptr, "a", Log);
    TProbe* B = NewProbe(nullptr, "b", Log);
    A->FreeNotification(B);
    A->FreeNotification(B);  // registering twice still tells once
    A->Free();
    EXPECT_EQ(Log, (TLog{"b told a"}));
    Log.clear();
    B->Free();
    EXPECT_TRUE(Log.empty());

    // The registered component goes first: its registration goes with it, nothing dangles.
    A = NewProbe(nullptr, "a", Log);
    B = NewProbe(nullptr, "b", Log);
    A->FreeNotification(B);
    B->Free();
    A->Free();
    EXPECT_TRUE(Log.empty());

    // A component freed by its owner tells the components registered with it.
    TProbe* Owner = NewProbe(nullptr, "owner", Log);
    TProbe* Child = NewProbe(Owner, "child", Log);
    TProbe* Watcher = NewProbe(nullptr, "watcher", Log);
    Child->FreeNotification(Watcher);
    Owner->Free();
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "watcher told child"), 1);
    Log.clear();
    Watcher->Free();
    EXPECT_TRUE(Log.empty());

    // Self and null registrations are ignored.
    A = NewProbe(nullptr, "a", Log);
    A->FreeNotification(A);
    A->FreeNotification(nullptr);
    A->Free();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(TProbe::Live, LiveBefore);
}

TEST(Component, RemoveFreeNotificationUndoesOneRegistration) {
    TLog Log;
    TProbe* A = NewProbe(nullptr, "a", Log);
    TProbe* B = NewProbe(nullptr, "b", Log);
    TProbe* C = NewProbe(nullptr, "c", Log);
    A->FreeNotification(B);
    A->FreeNotification(C);
    A->RemoveFreeNotification(B);
    A->Free();
    EXPECT_EQ(Log, (TLog{"c told a"}));
    Log.clear();

    // Two components watching each other: dropping one direction keeps the other.
    B->FreeNotification(C);
    C->FreeNotification(B);
    B->RemoveFreeNotification(C);
    C->Free();
    EXPECT_EQ(Log, (TLog{"b told c"}));
    Log.clear();
    B->Free();
    EXPECT_TRUE(Log.empty());
}

TEST(Component, LoadingAndDesigningFlags) {
    TLog Log;
    auto Probe = Make<TProbe>(nullptr, "p", Log);
    EXPECT_TRUE(Probe->ComponentState().Empty());

    Probe->BeginLoading();
    EXPECT_TRUE(Probe->ComponentState().Contains(csLoading));
    Probe->Loaded();
    EXPECT_FALSE(Probe->ComponentState().Contains(csLoading));

    Probe->SetDesigning(true);
    EXPECT_TRUE(Probe->ComponentState().Contains(csDesigning));
    EXPECT_FALSE(Probe->ComponentState().Contains(csDestroying));
    Probe->SetDesigning(false);
    EXPECT_FALSE(Probe->ComponentState().Contains(csDesigning));
}

}  // namespace
}  // namespace fzl
