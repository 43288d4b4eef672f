#pragma once
// TFuzzyExpressionResult: how a caller holds the set an expression evaluated to in
// the class model.

#include <utility>

#include <fzl/FuzzyLogic/FuzzySet.h>

namespace fzl {

/// The set of an evaluated expression (class model). A set the evaluation created is
/// owned: it is freed, leaving its variable, when the handle goes (release() leaves it to
/// the variable instead). An existing set of the variable (an expression that is a lone
/// set name) is borrowed: the handle never frees it. So dropping a result never leaves a
/// set behind and never takes one of the variable's terms away.
class [[nodiscard]] TFuzzyExpressionResult {
public:
    TFuzzyExpressionResult() noexcept = default;
    /// Takes ownership of a set the evaluation created.
    static TFuzzyExpressionResult Owning(TFuzzySet* Set) noexcept {
        TFuzzyExpressionResult Result;
        Result.FOwned.reset(Set);
        return Result;
    }
    /// Refers to a set someone else owns.
    static TFuzzyExpressionResult Borrowing(TFuzzySet* Set) noexcept {
        TFuzzyExpressionResult Result;
        Result.FBorrowed = Set;
        return Result;
    }

    TFuzzyExpressionResult(TFuzzyExpressionResult&& Other) noexcept
        : FOwned(std::move(Other.FOwned)), FBorrowed(std::exchange(Other.FBorrowed, nullptr)) {}
    TFuzzyExpressionResult& operator=(TFuzzyExpressionResult&& Other) noexcept {
        if (this != &Other) {
            FOwned = std::move(Other.FOwned);
            FBorrowed = std::exchange(Other.FBorrowed, nullptr);
        }
        return *this;
    }
    ~TFuzzyExpressionResult() = default;

    /// The set, or nullptr (also when an owned set was freed by its variable first).
    [[nodiscard]] TFuzzySet* get() const noexcept { return FOwned ? FOwned.get() : FBorrowed; }
    TFuzzySet* operator->() const noexcept { return get(); }
    TFuzzySet& operator*() const noexcept { return *get(); }
    explicit operator bool() const noexcept { return get() != nullptr; }
    /// True when the handle frees the set as it goes.
    [[nodiscard]] bool Owns() const noexcept { return static_cast<bool>(FOwned); }
    /// Gives up ownership (an owned set stays in its variable, which owns it from then on)
    /// and returns the set; the handle is empty afterwards.
    TFuzzySet* release() noexcept { return FOwned ? FOwned.release() : std::exchange(FBorrowed, nullptr); }

private:
    TOwned<TFuzzySet> FOwned;
    TFuzzySet* FBorrowed = nullptr;
};

}  // namespace fzl
