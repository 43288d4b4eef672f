#pragma once
// TFuzzyStreamToken: a token of the definition and expression language, which can
// also carry a value made during evaluation.

#include <cstddef>
#include <string>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/support/BaseStreamToken.h>

namespace fzl {

class TFuzzySet;

static_assert(btInteger == fstInteger && btFloat == fstFloat, "base tokens print the language's numbers");

/// A language token: a lexical kind with its text or number, or a value (an interface,
/// a nested token list, a set of either model, any object). Made by MakeIntf.
class TFuzzyStreamToken : public TBaseStreamToken<IFuzzyStreamToken> {
public:
    // Each setter stores the value and sets the kind; storing nil sets fstNone.
    void SetIntfValue(const TIntfPtr<IInterface>& Value) override;
    void SetList(const TIntfPtr<IFuzzyStreamTokenList>& Value) override;
    void SetFuzzySetIntf(const TIntfPtr<IFuzzySet>& Value) override;
    /// The object is not owned.
    void SetObjValue(TObject* Value) override;
    /// The set is not owned.
    void SetFuzzySet(TFuzzySet* Value);

    // The getters read the stored value whatever the kind.
    [[nodiscard]] TIntfPtr<IInterface> GetIntfValue() const override { return FIntfValue; }
    /// The interface value as a token list, or nil.
    [[nodiscard]] TIntfPtr<IFuzzyStreamTokenList> GetList() const override;
    /// The interface value as a set, or nil.
    [[nodiscard]] TIntfPtr<IFuzzySet> GetFuzzySetIntf() const override;
    [[nodiscard]] TObject* GetObjValue() const override { return FObjValue; }
    /// The object value when it is a TFuzzySet (or descendant), else nullptr.
    [[nodiscard]] TFuzzySet* GetFuzzySet() const;

    /// Copies the base token's fields and, from a fuzzy token, its two values.
    void Assign(const TIntfPtr<IInterface>& Source) override;
    using TBaseStreamToken<IFuzzyStreamToken>::Assign;
    /// Equal base fields and the same values (the same objects, not equal ones).
    [[nodiscard]] bool Equals(const TIntfPtr<IInterface>& Other) const override;
    /// "<interface>", "(" list ")", the set's ToString, "<object>", the class-model set's
    /// Expression ("" when the value is missing), else the base token's printed form.
    [[nodiscard]] std::string ToString() const override;
    /// Appends what this class's ToString gives to Into; a text goes in without a copy first.
    void AppendPrintedForm(std::string& Into) const;

    [[nodiscard]] std::string ClassName() const override { return "TFuzzyStreamToken"; }

    /// Tokens come and go by the thousand in a parse: their memory is recycled per thread.
    // NOLINTNEXTLINE(misc-new-delete-overloads): paired with the sized operator delete
    static void* operator new(std::size_t Size);
    static void operator delete(void* Block, std::size_t Size) noexcept;

protected:
    ~TFuzzyStreamToken() override = default;
    [[nodiscard]] TIntfPtr<IFuzzyStreamToken> NewToken() const override;

private:
    void StoreIntf(const TIntfPtr<IInterface>& Value, TFuzzyStreamTokenType Kind);
    void StoreObj(TObject* Value, TFuzzyStreamTokenType Kind);

    TIntfPtr<IInterface> FIntfValue;
    TObject* FObjValue = nullptr;
};

}  // namespace fzl
