#include "internal/PrettyPrinter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/IFuzzyLogic/FuzzyStreamToken.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXFuzzyLogicParser/FuzzyLogicTokenStream.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/VXConstants.h>

namespace fzl {

namespace {

constexpr std::string_view CRLF = "\r\n";
// Candidate arguments tried for one shape before its points are written instead.
constexpr int MaxShapeTries = 64;

// ---- Reading text back -----------------------------------------------------------------------

using TTokens = std::vector<TIntfPtr<IFuzzyStreamToken>>;

// Every token of Text, or nothing when the tokenizer refuses it.
std::optional<TTokens> Tokenize(const std::string& Text) {
    try {
        const TOwned<TFuzzyLogicTokenStream> Stream = Make<TFuzzyLogicTokenStream>(Text);
        TTokens Tokens;
        for (auto Token = Stream->NextToken(); Token->GetDataType() != fstNone; Token = Stream->NextToken())
            Tokens.push_back(Token);
        return Tokens;
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// True when Text reads back as the one word Word.
bool ReadsAsWord(const std::string& Text, const std::string& Word) {
    const auto Tokens = Tokenize(Text);
    return Tokens && Tokens->size() == 1 && Tokens->front()->GetDataType() == fstAtom &&
           Tokens->front()->GetText() == Word;
}

// Letters, digits and a few marks, starting with a letter: a word the tokenizer reads as written.
bool IsPlainWord(const std::string& Text) {
    const auto IsLetter = [](char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_'; };
    if (Text.empty() || !IsLetter(Text.front())) return false;
    return std::all_of(Text.begin(), Text.end(),
                       [&](char C) { return IsLetter(C) || (C >= '0' && C <= '9') || C == '-' || C == '.'; });
}

// The characters that end a word unless escaped.
bool EndsWord(char C) {
    return static_cast<unsigned char>(C) <= ' ' || (C != '\0' && std::strchr("\"&();<[]|~\\", C) != nullptr);
}

// True when Expression, written as a set's body, gives the reader the tokens it gives on its own:
// not read as a function call, no ")" that would close the definition, no comment that would hide
// it, no escape of the closing parenthesis. StartsWithString: its first token is a string, which
// needs the comment written before it.
bool IsWritableBody(const std::string& Expression, bool& StartsWithString) {
    if (Expression.find(';') != std::string::npos || Expression.back() == '\\') return false;
    const auto Tokens = Tokenize(Expression);
    if (!Tokens || Tokens->empty() || Tokens->front()->GetDataType() == '(') return false;
    int Depth = 0;
    for (const auto& Token : *Tokens) {
        if (Token->GetDataType() == '(') ++Depth;
        if (Token->GetDataType() == ')' && --Depth < 0) return false;
    }
    StartsWithString = Tokens->front()->GetDataType() == fstString;
    return Depth == 0;
}

// ---- Numbers -----------------------------------------------------------------------------------

// Value and its "%.4f" rounding (first), the values a written argument may have had.
std::vector<TFzyFloat> Variants(TFzyFloat Value) {
    if (!std::isfinite(Value)) return {};
    TFzyFloat Rounded = Value;
    (void)TryStrToFloat(FormatFixed(Value, 4), Rounded);
    return Rounded == Value ? std::vector{Value} : std::vector{Rounded, Value};
}

void AppendUnique(std::vector<TFzyFloat>& Into, const std::vector<TFzyFloat>& Values) {
    for (const TFzyFloat Value : Values)
        if (std::find(Into.begin(), Into.end(), Value) == Into.end()) Into.push_back(Value);
}

// The range a curve was made with, from its end points: a curve places them in extended
// precision, so the difference read back may be a few units in the last place off.
std::vector<TFzyFloat> RangeVariants(TFzyFloat FromLeft, TFzyFloat FromRight) {
    std::vector<TFzyFloat> Ranges = Variants(FromLeft);
    AppendUnique(Ranges, Variants(FromRight));
    for (const TFzyFloat Base : {FromLeft, FromRight}) {
        TFzyFloat Down = Base;
        TFzyFloat Up = Base;
        for (int Step = 0; Step < 2 && std::isfinite(Base); ++Step) {
            Down = std::nextafter(Down, -std::numeric_limits<TFzyFloat>::infinity());
            Up = std::nextafter(Up, std::numeric_limits<TFzyFloat>::infinity());
            AppendUnique(Ranges, {Down, Up});
        }
    }
    return Ranges;
}

std::string PointsText(const std::vector<TPrintedSet::TPoint>& Points) {
    std::string Text = "(";
    for (const auto& [X, Y] : Points) {
        Text += '(';
        Text += TFuzzyPrettyPrinter::FormatNumber(X);
        Text += ' ';
        Text += TFuzzyPrettyPrinter::FormatNumber(Y);
        Text += ") ";
    }
    Text += ')';
    return Text;
}

// ---- Function calls --------------------------------------------------------------------------------

// Tries calls of one shape until one regenerates the set; skips argument lists already tried.
class TShapeCall {
public:
    TShapeCall(const TPrintedSet& Set, TReadBackVariable& ReadBack) : FSet(Set), FReadBack(ReadBack) {}

    bool Try(const char* FuncName, std::vector<TFzyFloat> Args) {
        if (FTries >= MaxShapeTries || std::find(FTried.begin(), FTried.end(), Args) != FTried.end())
            return false;
        ++FTries;
        FTried.push_back(Args);
        if (!FReadBack.TryCall(FuncName, Args, FSet)) return false;
        FText = std::string("(") + FuncName;
        for (const TFzyFloat Arg : Args) (FText += ' ') += TFuzzyPrettyPrinter::FormatNumber(Arg);
        FText += ')';
        return true;
    }
    [[nodiscard]] const std::string& Text() const noexcept { return FText; }

private:
    const TPrintedSet& FSet;
    TReadBackVariable& FReadBack;
    std::vector<std::vector<TFzyFloat>> FTried;
    int FTries = 0;
    std::string FText;
};

// Centres of a PI curve: its mean of maxima and, for an even number of points (no point at the
// centre), the centre the two halves' steps give.
std::vector<TFzyFloat> PICentres(const TPrintedSet& Set) {
    std::vector<TFzyFloat> Centres = Variants(Set.MeanOfMaxima);
    const auto& P = Set.Points;
    const std::size_t K = P.size() / 2;
    if (P.size() % 2 == 0 && K >= 2) {
        const auto Steps = static_cast<TFzyFloat>(K);
        AppendUnique(Centres, Variants((Steps * P[K].X - P.back().X) / (Steps - 1)));
        AppendUnique(Centres, Variants(P.front().X + (P[K - 1].X - P.front().X) * Steps / (Steps - 1)));
    }
    return Centres;
}

bool TryPI(const TPrintedSet& Set, TShapeCall& Call) {
    const TFzyFloat Left = Set.Points.front().X;
    const TFzyFloat Right = Set.Points.back().X;
    const auto Centres = PICentres(Set);
    for (const TFzyFloat Centre : Centres) {
        if (!FloatEquals(Centre - Left, Right - Centre)) continue;
        for (const TFzyFloat Range : RangeVariants(Centre - Left, Right - Centre))
            if (Call.Try("pi", {Range, Centre})) return true;
    }
    return std::any_of(Centres.begin(), Centres.end(), [&](TFzyFloat Centre) {
        return Call.Try("pi", {Left, Right, Centre});
    });
}

// The weight a beta curve around Centre implies at its first point off the centre; the
// weight 1 is left out of the call.
std::vector<std::optional<TFzyFloat>> BetaWeights(const TPrintedSet& Set, TFzyFloat Centre) {
    std::vector<std::optional<TFzyFloat>> Weights;
    TFzyFloat Weight = 1;
    const auto OffCentre =
        std::find_if(Set.Points.begin(), Set.Points.end(),
                     [&](const TPrintedSet::TPoint& P) { return P.X != Centre && P.Y > 0; });
    if (OffCentre != Set.Points.end() && Set.InflectionPoint != 0) {
        const TFzyFloat Scaled = (OffCentre->X - Centre) / Set.InflectionPoint;
        Weight = (1 / OffCentre->Y - 1) / (Scaled * Scaled);
    }
    if (!std::isfinite(Weight) || FloatEquals(Weight, 1)) Weights.emplace_back(std::nullopt);
    for (const TFzyFloat Variant : Variants(Weight))
        if (Variant != 1) Weights.emplace_back(Variant);
    return Weights;
}

bool TryBeta(const TPrintedSet& Set, TShapeCall& Call) {
    const TFzyFloat Left = Set.Points.front().X;
    const TFzyFloat Right = Set.Points.back().X;
    for (const TFzyFloat Centre : Variants(Set.MeanOfMaxima)) {
        const auto Weights = BetaWeights(Set, Centre);
        for (const TFzyFloat Range : RangeVariants(Centre - Left, Right - Centre))
            for (const TFzyFloat Inflection : Variants(Set.InflectionPoint))
                for (const auto& Weight : Weights) {
                    std::vector<TFzyFloat> Args{Range, Centre, Inflection};
                    if (Weight) Args.push_back(*Weight);
                    if (Call.Try("beta", std::move(Args))) return true;
                }
    }
    return false;
}

// The shape's function call when one regenerates the set (left pending in ReadBack).
std::optional<std::string> ShapeCall(const TPrintedSet& Set, TReadBackVariable& ReadBack) {
    const auto& P = Set.Points;
    if (P.empty()) return std::nullopt;
    TShapeCall Call(Set, ReadBack);
    bool Found = false;
    switch (Set.SetType) {
        case fstTriangle: Found = P.size() == 3 && Call.Try("tri", {P[0].X, P[1].X, P[2].X}); break;
        case fstGrowthCurve: Found = Call.Try("s", {P.front().X, P.back().X}); break;
        case fstDeclineCurve: Found = Call.Try("z", {P.front().X, P.back().X}); break;
        case fstPICurve: Found = TryPI(Set, Call); break;
        case fstBetaCurve: Found = TryBeta(Set, Call); break;
        default: break;
    }
    return Found ? std::optional(Call.Text()) : std::nullopt;
}

// ---- The variables read back into ----------------------------------------------------------------

TIntfPtr<IFuzzyStreamTokenList> NumberTokens(std::span<const TFzyFloat> Args) {
    const TIntfPtr<IFuzzyStreamTokenList> List = MakeIntf<TFuzzyStreamTokenList>();
    for (const TFzyFloat Arg : Args) {
        const TIntfPtr<IFuzzyStreamToken> Token = MakeIntf<TFuzzyStreamToken>();
        Token->SetDataType(fstFloat);
        Token->SetNumber(Arg);
        List->Add(Token);
    }
    return List;
}

bool SameSet(const TPrintedSet& Made, const TPrintedSet& Set, bool WithExpression) {
    return Made.SetType == Set.SetType && Made.Points == Set.Points &&
           (!WithExpression || Made.Expression == Set.Expression);
}

// A detached class-model variable over the same range.
class TClassReadBack final : public TReadBackVariable {
public:
    TClassReadBack(TCustomFuzzyLogicParser& Parser, TFzyFloat Minimum, TFzyFloat Maximum)
        : FParser(Parser), FVariable(Make<TFuzzyVariable>()) {
        FVariable->SetMinimum(Minimum);
        FVariable->SetMaximum(Maximum);
    }

    bool TryCall(const std::string& FuncName, std::span<const TFzyFloat> Args,
                 const TPrintedSet& Set) override {
        const auto Before = Snapshot();
        try {
            TFuzzySet* Made = FParser.CalcFuzzyFunction(Sets().Add(), FuncName, NumberTokens(Args));
            if (Made != nullptr && SameSet(TPrintedSet::Of(*Made), Set, false)) return Hold(Made);
        } catch (const Exception&) {
        }
        Rollback(Before);
        return false;
    }

    bool TryExpression(const std::string& Expression, const TPrintedSet& Set) override {
        const auto Before = Snapshot();
        try {
            TFuzzySet* Made = FParser.EvalFuzzyExpression(FVariable.get(), Expression);
            if (Made != nullptr && std::find(FKept.begin(), FKept.end(), Made) == FKept.end() &&
                SameSet(TPrintedSet::Of(*Made), Set, true))
                return Hold(Made);
        } catch (const Exception&) {
        }
        Rollback(Before);
        return false;
    }

    void KeepPending(const std::string& Name) override {
        TFuzzySet* Set = std::exchange(FPending, nullptr);
        if (Set == nullptr) return;
        try {
            Set->SetName(Name);
        } catch (const Exception&) {  // a reserved word, which the reader refuses as well
        }
        Set->SetDefined(true);
        FKept.push_back(Set);
    }

    void AddPoints(const TPrintedSet& Set) override {
        TFuzzySet* Made = Sets().Add();
        for (const auto& [X, Y] : Set.Points) Made->GetValues().Add(X, Y);
        Hold(Made);
        KeepPending(Set.Name);
    }

private:
    TFuzzySets& Sets() const { return FVariable->GetItems(); }
    bool Hold(TFuzzySet* Set) {
        FPending = Set;
        return true;
    }
    std::vector<TFuzzySet*> Snapshot() const {
        std::vector<TFuzzySet*> Result;
        for (TFuzzySet* Set : Sets()) Result.push_back(Set);
        return Result;
    }
    // Frees what a failed try left in the variable.
    void Rollback(const std::vector<TFuzzySet*>& Before) const {
        for (int I = Sets().Count() - 1; I >= 0; --I) {
            TFuzzySet* Set = Sets().GetItem(I);
            if (std::find(Before.begin(), Before.end(), Set) == Before.end()) Set->Free();
        }
    }

    TCustomFuzzyLogicParser& FParser;
    TOwned<TFuzzyVariable> FVariable;
    std::vector<TFuzzySet*> FKept;
    TFuzzySet* FPending = nullptr;
};

// A reference-counted variable over the same range, outside any component.
class TIntfReadBack final : public TReadBackVariable {
public:
    TIntfReadBack(TCustomFuzzyLogicParser& Parser, TFzyFloat Minimum, TFzyFloat Maximum,
                  int NumFunctionValues)
        : FParser(Parser), FVariable(MakeIntf<TIFuzzyVariable>(std::string())) {
        FVariable->SetMinimum(Minimum);
        FVariable->SetMaximum(Maximum);
        FVariable->SetNumFunctionValues(NumFunctionValues);
    }

    bool TryCall(const std::string& FuncName, std::span<const TFzyFloat> Args,
                 const TPrintedSet& Set) override {
        const auto Before = Snapshot();
        try {
            const TIntfPtr<IFuzzySet> Made = FParser.CalcFuzzyFunction(
                FVariable->Add(GetUniqueName(FVariable)), FuncName, NumberTokens(Args));
            if (Made && SameSet(TPrintedSet::Of(*Made), Set, false)) return Hold(Made);
        } catch (const Exception&) {
        }
        Rollback(Before);
        return false;
    }

    bool TryExpression(const std::string& Expression, const TPrintedSet& Set) override {
        const auto Before = Snapshot();
        try {
            const TIntfPtr<IFuzzySet> Made = FParser.EvalFuzzyExpression(FVariable, Expression);
            if (Made && std::find(FKept.begin(), FKept.end(), Made) == FKept.end() &&
                SameSet(TPrintedSet::Of(*Made), Set, true))
                return Hold(Made);
        } catch (const Exception&) {
        }
        Rollback(Before);
        return false;
    }

    void KeepPending(const std::string& Name) override {
        const TIntfPtr<IFuzzySet> Set = std::exchange(FPending, nullptr);
        if (!Set) return;
        try {
            Set->SetName(Name);
        } catch (const Exception&) {  // a reserved word, which the reader refuses as well
        }
        Set->SetDefined(true);
        FKept.push_back(Set);
    }

    void AddPoints(const TPrintedSet& Set) override {
        const TIntfPtr<IFuzzySet> Made = FVariable->Add(GetUniqueName(FVariable));
        for (const auto& [X, Y] : Set.Points) Made->Add(X, Y);
        Hold(Made);
        KeepPending(Set.Name);
    }

private:
    bool Hold(const TIntfPtr<IFuzzySet>& Set) {
        FPending = Set;
        return true;
    }
    std::vector<TIntfPtr<IFuzzySet>> Snapshot() const {
        std::vector<TIntfPtr<IFuzzySet>> Result;
        for (int I = 0; I < FVariable->GetCount(); ++I) Result.push_back(FVariable->GetFuzzySet(I));
        return Result;
    }
    void Rollback(const std::vector<TIntfPtr<IFuzzySet>>& Before) const {
        for (const auto& Set : Snapshot())
            if (std::find(Before.begin(), Before.end(), Set) == Before.end()) FVariable->Remove(Set);
    }

    TCustomFuzzyLogicParser& FParser;
    TIntfPtr<IFuzzyVariable> FVariable;
    std::vector<TIntfPtr<IFuzzySet>> FKept;
    TIntfPtr<IFuzzySet> FPending;
};

// The defined sets of a reference-counted variable in the order of their index.
std::vector<TIntfPtr<IFuzzySet>> DefinedSets(const IFuzzyVariable& Variable) {
    std::vector<TIntfPtr<IFuzzySet>> Sets;
    for (int I = 0; I < Variable.GetCount(); ++I)
        if (TIntfPtr<IFuzzySet> Set = Variable.GetFuzzySet(I); Set->GetDefined())
            Sets.push_back(std::move(Set));
    std::stable_sort(Sets.begin(), Sets.end(),
                     [](const auto& A, const auto& B) { return A->GetIndex() < B->GetIndex(); });
    return Sets;
}

std::string ShortName(const std::string& Name) { return Name == SEmptyFuzzy ? std::string() : Name; }

}  // namespace

// ---- What the printer reads ----------------------------------------------------------------------

TPrintedSet TPrintedSet::Of(const TFuzzySet& FuzzySet) {
    TPrintedSet Set{FuzzySet.GetName(),
                    FuzzySet.GetComment(),
                    FuzzySet.GetExpression(),
                    FuzzySet.GetSetType(),
                    {},
                    FuzzySet.GetInflectionPoint(),
                    FuzzySet.MeanOfMaxima()};
    Set.Points.reserve(static_cast<std::size_t>(FuzzySet.GetValues().Count()));
    for (const TFuzzySetValue* Point : FuzzySet.GetValues())
        Set.Points.push_back({Point->GetX(), Point->GetY()});
    return Set;
}

TPrintedSet TPrintedSet::Of(const IFuzzySet& FuzzySet) {
    TPrintedSet Set{FuzzySet.GetName(),
                    FuzzySet.GetComment(),
                    FuzzySet.GetExpression(),
                    FuzzySet.GetSetType(),
                    {},
                    FuzzySet.GetInflectionPoint(),
                    FuzzySet.MeanOfMaxima()};
    Set.Points.reserve(static_cast<std::size_t>(FuzzySet.GetCount()));
    for (int I = 0; I < FuzzySet.GetCount(); ++I)
        Set.Points.push_back({FuzzySet.GetXValues(I), FuzzySet.GetYValues(I)});
    return Set;
}

// ---- Pieces of text --------------------------------------------------------------------------------

std::string TFuzzyPrettyPrinter::FormatNumber(TFzyFloat Value) {
    std::string Fixed = FormatFixed(Value, 4);
    TFzyFloat Back = 0;
    return TryStrToFloat(Fixed, Back) && Back == Value ? Fixed : FloatToStr(Value);
}

std::string TFuzzyPrettyPrinter::FormatString(const std::string& Value) {
    std::string Text = "\"";
    for (const char C : Value) {
        if (C == '"' || C == '\\') Text += '\\';
        Text += C;
    }
    Text += '"';
    return Text;
}

std::string TFuzzyPrettyPrinter::FormatName(const std::string& Value) {
    if (IsPlainWord(Value) || ReadsAsWord(Value, Value)) return Value;
    if (!Value.empty()) {
        // The escape character counts from a word's second character on.
        std::string Escaped(1, Value.front());
        for (std::size_t I = 1; I < Value.size(); ++I) {
            if (EndsWord(Value[I])) Escaped += '\\';
            Escaped += Value[I];
        }
        if (ReadsAsWord(Escaped, Value)) return Escaped;
    }
    return FormatString(Value);
}

std::string TFuzzyPrettyPrinter::FormatUnits(const std::string& Value) {
    // The reader takes any one token and keeps its printed form.
    const auto Tokens = Tokenize(Value);
    if (Tokens && Tokens->size() == 1) {
        const int Kind = Tokens->front()->GetDataType();
        if ((Kind == fstAtom || Kind == fstInteger || Kind == fstFloat) &&
            Tokens->front()->ToString() == Value)
            return Value;
    }
    return FormatString(Value);
}

std::string TFuzzyPrettyPrinter::Definition(const TPrintedSet& Set, TReadBackVariable& ReadBack) {
    bool StartsWithString = false;
    std::string Body;
    if (!Set.Expression.empty() && IsWritableBody(Set.Expression, StartsWithString) &&
        ReadBack.TryExpression(Set.Expression, Set)) {
        Body = Set.Expression;
        ReadBack.KeepPending(Set.Name);
    } else if (StartsWithString = false; auto Call = ShapeCall(Set, ReadBack)) {
        Body = std::move(*Call);
        ReadBack.KeepPending(Set.Name);
    } else if (!Set.Points.empty()) {
        Body = PointsText(Set.Points);
        ReadBack.AddPoints(Set);
    } else {
        // "()" would read as a call without a name: an empty set is written as the empty set.
        Body = EmptyBody;
        TPrintedSet Empty = Set;
        Empty.Expression.clear();
        if (ReadBack.TryExpression(Body, Empty)) ReadBack.KeepPending(Set.Name);
    }
    std::string Text = "(term " + FormatName(Set.Name) + ' ';
    // A body that starts with a string needs a comment before it, or it would become the comment.
    if (!Set.Comment.empty() || StartsWithString) (Text += FormatString(Set.Comment)) += ' ';
    Text += Body;
    Text += ')';
    return Text;
}

// ---- Sets and variables ----------------------------------------------------------------------------

struct TFuzzyPrettyPrinter::TVariableText {
    std::string Name;
    std::string Comment;
    TFzyFloat Minimum;
    TFzyFloat Maximum;
    std::string Units;
    std::vector<std::string> Sets;
};

std::string TFuzzyPrettyPrinter::Layout(const TVariableText& Variable) {
    const std::string Indent(IndentString);
    std::string Text = "(deffuzzy " + FormatName(Variable.Name) + ' ';
    if (!Variable.Comment.empty()) ((Text += CRLF) += Indent) += FormatString(Variable.Comment);
    Text += CRLF;
    Text += Indent + "(range " + FormatNumber(Variable.Minimum) + ' ' + FormatNumber(Variable.Maximum) + ')';
    Text += CRLF;
    if (!Variable.Units.empty()) ((Text += Indent + "(units ") += FormatUnits(Variable.Units) + ')') += CRLF;
    (Text += Indent + "(values ") += CRLF;
    for (const std::string& Set : Variable.Sets) ((Text += Indent) += Indent + Set) += CRLF;
    ((Text += Indent) += ')') += CRLF;
    Text += ')';
    return Text;
}

std::string TFuzzyPrettyPrinter::Print(const TFuzzySet& FuzzySet, bool AsDefinition) {
    if (!AsDefinition) {
        std::string Name = ShortName(FuzzySet.GetName());
        return Name.empty() ? FuzzySet.GetExpression() : Name;
    }
    TFzyFloat Lower = 0;
    TFzyFloat Upper = 0;
    FuzzySet.GetXBounds(Lower, Upper);
    TClassReadBack ReadBack(FParser, Lower, Upper);
    TPrintedSet Set = TPrintedSet::Of(FuzzySet);
    // Only an expression reads the sets before it: they are read back first.
    if (const TFuzzyVariable* Variable = FuzzySet.GetVariable();
        Variable != nullptr && !Set.Expression.empty())
        for (const TFuzzySet* Before : Variable->GetItems()) {
            if (Before == &FuzzySet) break;
            if (Before->GetDefined()) (void)Definition(TPrintedSet::Of(*Before), ReadBack);
        }
    return Definition(Set, ReadBack);
}

std::string TFuzzyPrettyPrinter::Print(const TIntfPtr<IFuzzySet>& FuzzySet, bool AsDefinition) {
    if (!FuzzySet) return {};
    if (!AsDefinition) return ShortName(FuzzySet->GetName());
    const TIntfPtr<IFuzzyVariable> Variable = FuzzySet->GetVariable();
    TIntfReadBack ReadBack(FParser, Variable ? Variable->GetMinimum() : -UnboundedX,
                           Variable ? Variable->GetMaximum() : UnboundedX,
                           Variable ? Variable->GetNumFunctionValues() : 7);
    TPrintedSet Set = TPrintedSet::Of(*FuzzySet);
    if (Variable && !Set.Expression.empty())
        for (const auto& Before : DefinedSets(*Variable)) {
            if (Before == FuzzySet || Before->GetIndex() >= FuzzySet->GetIndex()) break;
            (void)Definition(TPrintedSet::Of(*Before), ReadBack);
        }
    return Definition(Set, ReadBack);
}

std::string TFuzzyPrettyPrinter::Print(const TFuzzyVariable& FuzzyVariable) {
    TVariableText Text{FuzzyVariable.GetName(),    FuzzyVariable.GetComment(), FuzzyVariable.GetMinimum(),
                       FuzzyVariable.GetMaximum(), FuzzyVariable.GetUnits(),   {}};
    TClassReadBack ReadBack(FParser, Text.Minimum, Text.Maximum);
    for (const TFuzzySet* Set : FuzzyVariable.GetItems())
        if (Set->GetDefined()) Text.Sets.push_back(Definition(TPrintedSet::Of(*Set), ReadBack));
    return Layout(Text);
}

std::string TFuzzyPrettyPrinter::Print(const TIntfPtr<IFuzzyVariable>& FuzzyVariable) {
    if (!FuzzyVariable) return {};
    TVariableText Text{FuzzyVariable->GetName(),    FuzzyVariable->GetComment(), FuzzyVariable->GetMinimum(),
                       FuzzyVariable->GetMaximum(), FuzzyVariable->GetUnits(),   {}};
    TIntfReadBack ReadBack(FParser, Text.Minimum, Text.Maximum, FuzzyVariable->GetNumFunctionValues());
    for (const auto& Set : DefinedSets(*FuzzyVariable))
        Text.Sets.push_back(Definition(TPrintedSet::Of(*Set), ReadBack));
    return Layout(Text);
}

}  // namespace fzl
