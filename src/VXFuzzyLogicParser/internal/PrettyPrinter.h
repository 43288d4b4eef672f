#pragma once
// TFuzzyPrettyPrinter: writes sets and variables of either model as definition text
// that reads back to the same model.
//
// A body is written in the richest form that reads back exactly: the set's expression,
// else its shape's function call, else its points. The first two are written only when
// regenerating them, through the parser's own evaluator and built-in functions, in a
// stand-in of the variable the text is read back into, gives the same points, type
// (and expression) bit for bit; otherwise the points are written, each number in "%.4f"
// when that reads back as the same double and in its shortest exact form when not.
// Names are written bare when they read back as the same word, escaped when escapes
// make them one, and quoted otherwise; comments are always quoted, units quoted unless
// they read back as written.

#include <span>
#include <string>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/support/IntfPtr.h>

namespace fzl {

class TCustomFuzzyLogicParser;
class TFuzzySet;
class TFuzzyVariable;
class IFuzzySet;
class IFuzzyVariable;

/// What the printer reads of a set, the same from either model.
struct TPrintedSet {
    struct TPoint {
        TFzyFloat X;
        TFzyFloat Y;
        friend bool operator==(const TPoint&, const TPoint&) = default;
    };
    std::string Name;
    std::string Comment;
    std::string Expression;
    TFuzzySetType SetType = fstUserDefined;
    std::vector<TPoint> Points;
    TFzyFloat InflectionPoint = 0;
    TFzyFloat MeanOfMaxima = 0;

    static TPrintedSet Of(const TFuzzySet& FuzzySet);
    static TPrintedSet Of(const IFuzzySet& FuzzySet);
};

/// The variable the text is read back into, as far as it has been written. A candidate
/// body is regenerated in it; the set the reader will make is kept for the bodies after.
class TReadBackVariable {
public:
    virtual ~TReadBackVariable() = default;
    /// Computes the call on a new set; true (the set pending) when it gives Set's type and points.
    virtual bool TryCall(const std::string& FuncName, std::span<const TFzyFloat> Args,
                         const TPrintedSet& Set) = 0;
    /// Evaluates Expression; true (the set pending) when it makes a set other than the
    /// ones kept, with Set's type, points and expression.
    virtual bool TryExpression(const std::string& Expression, const TPrintedSet& Set) = 0;
    /// Keeps the pending set under Name, defined.
    virtual void KeepPending(const std::string& Name) = 0;
    /// Makes the set the reader makes from Set's points.
    virtual void AddPoints(const TPrintedSet& Set) = 0;
};

/// The pretty printer of TVXFuzzyLogicParser (which owns it and is passed in).
class TFuzzyPrettyPrinter {
public:
    /// The body written for a set without points: the empty set of the expression language.
    static constexpr std::string_view EmptyBody = "__Empty";

    explicit TFuzzyPrettyPrinter(TCustomFuzzyLogicParser& Parser) noexcept : FParser(Parser) {}

    /// The short form (name, or expression for an unnamed set) or the definition of a set.
    [[nodiscard]] std::string Print(const TFuzzySet& FuzzySet, bool AsDefinition);
    /// The short form (name alone) or the definition of a set.
    [[nodiscard]] std::string Print(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition);
    /// The definition of a variable with its defined sets, in the order of their index.
    [[nodiscard]] std::string Print(const TFuzzyVariable& FuzzyVariable);
    [[nodiscard]] std::string Print(const TIntfPtr<IFuzzyVariable>& FuzzyVariable);

    // ---- Pieces of text ----------------------------------------------------------------------
    /// "%.4f" when it reads back as Value, else the shortest text that does.
    [[nodiscard]] static std::string FormatNumber(TFzyFloat Value);
    /// A double-quoted string with '"' and '\' escaped.
    [[nodiscard]] static std::string FormatString(const std::string& Value);
    /// A name as a word (bare or escaped) when one reads back as Value, else quoted.
    [[nodiscard]] static std::string FormatName(const std::string& Value);
    /// Units as written when they read back unchanged, else quoted.
    [[nodiscard]] static std::string FormatUnits(const std::string& Value);
    /// The set definition "(term ...)" of Set; ReadBack then holds the set as it will be read.
    [[nodiscard]] static std::string Definition(const TPrintedSet& Set, TReadBackVariable& ReadBack);

private:
    struct TVariableText;
    [[nodiscard]] static std::string Layout(const TVariableText& Variable);

    TCustomFuzzyLogicParser& FParser;
};

}  // namespace fzl
