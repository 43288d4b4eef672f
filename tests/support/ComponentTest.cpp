// Components and their notifications, update brackets and string lists.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fzl/support/Collection.h>
#include <fzl/support/Component.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/StringList.h>
#include <fzl/support/UpdateGuard.h>

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

// A bracket whose closing report fails once FailReport is set.
struct TTarget {
    int Depth = 0, Reports = 0;
    bool FailReport = false;
    void BeginUpdate() { ++Depth; }
    void EndUpdate() {
        if (--Depth > 0) return;
        ++Reports;
        if (FailReport) throw std::runtime_error("report");
    }
};

TEST(UpdateGuard, ClosesOnceAndNeverThrowsOverAnotherException) {
    TTarget Target;
    {
        const TUpdateGuard Outer(Target), Inner(Target);
        EXPECT_EQ(Target.Depth, 2);
    }
    Target.FailReport = true;  // only the outermost close reported; from now on the report fails
    // Left normally: the report's exception comes through, and the bracket is closed.
    EXPECT_THROW({ const TUpdateGuard Guard(Target); }, std::runtime_error);
    // Left by an exception: that one comes through; the failing report is dropped, not terminating.
    EXPECT_THROW(
        {
            const TUpdateGuard Guard(Target);
            throw std::logic_error("body");
        },
        std::logic_error);
    EXPECT_EQ(std::pair(Target.Depth, Target.Reports), std::pair(0, 3));
}

TEST(StringList, NamesValuesLineEndsAndAssign) {
    auto List = Make<TStringList>();
    List->SetText("Name=Value\r\nOther=1\rFormula=a=b\n\nplain line");  // CR LF, CR, LF; no end needed
    EXPECT_EQ(List->GetValue("NAME") + List->GetValue("Formula"), "Valuea=b");  // case-insensitive by default
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->GetValue("name") + std::to_string(List->IndexOfName("OTHER")), "-1");
    List->SetCaseSensitive(false);
    List->SetValue("NAME", "New");  // replaces in place
    List->SetValue("Third", "3");   // appends
    List->SetValue("other", "");    // an empty value removes the line
    EXPECT_EQ(List->GetText(), "NAME=New\nFormula=a=b\n\nplain line\nThird=3\n");
    EXPECT_THROW(List->Delete(5), EListError);
    auto Copy = Make<TStringList>();
    Copy->AddObject("old", List.get());
    Copy->Assign(*List);  // the lines and their objects (none); independent of the source afterwards
    List->SetString(0, "changed");
    EXPECT_EQ(Copy->GetText(), "NAME=New\nFormula=a=b\n\nplain line\nThird=3\n");
    EXPECT_EQ(Copy->IndexOf("PLAIN LINE"), 3);
    EXPECT_EQ(Copy->GetObject(0), nullptr);
    auto Items = Make<TCollection>(TItemClass<TCollectionItem>::FromFactory(nullptr));
    EXPECT_THROW(Copy->Assign(*Items), EConvertError);  // unrelated classes
}

}  // namespace
}  // namespace fzl
