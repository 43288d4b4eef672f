#pragma once
// IFuzzyStreamToken: a token of the definition and expression language, which
// can also carry a value made during evaluation (a set, a token list, any
// interface or object).

#include <fzl/support/BaseStreamToken.h>
#include <fzl/support/Object.h>

namespace fzl {

class IFuzzySet;
class IFuzzyStreamTokenList;

/// A language token with an optional interface or object value.
class IFuzzyStreamToken : public IBaseStreamToken {
public:
    using TInterface = IFuzzyStreamToken;
    using TInherited = IBaseStreamToken;
    static constexpr TGUID IID = TGUID::Parse("{2F806C08-EF91-4052-A9D9-F3AE04208172}");

    /// The interface value (counted), whatever the token's kind.
    [[nodiscard]] virtual TIntfPtr<IInterface> GetIntfValue() const = 0;
    /// The interface value as a set, or nil when it is none.
    [[nodiscard]] virtual TIntfPtr<IFuzzySet> GetFuzzySetIntf() const = 0;
    /// The interface value as a token list, or nil when it is none.
    [[nodiscard]] virtual TIntfPtr<IFuzzyStreamTokenList> GetList() const = 0;
    /// The object value (not owned).
    [[nodiscard]] virtual TObject* GetObjValue() const = 0;
    virtual void SetFuzzySetIntf(const TIntfPtr<IFuzzySet>& Value) = 0;
    virtual void SetIntfValue(const TIntfPtr<IInterface>& Value) = 0;
    virtual void SetList(const TIntfPtr<IFuzzyStreamTokenList>& Value) = 0;
    virtual void SetObjValue(TObject* Value) = 0;

protected:
    ~IFuzzyStreamToken() = default;
};

}  // namespace fzl
