// The definition parser of TVXFuzzyLogicParser: whole texts, variable definitions with
// their clauses, set definitions and their bodies, for each model.

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/IFuzzyLogic/FuzzyLogicIntf.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>
#include <fzl/support/UpdateGuard.h>

#include "internal/Lease.h"
#include "internal/ParserState.h"

namespace fzl {

namespace {

constexpr const char* LogicWhere = "ParseFuzzyLogic";
constexpr const char* VariableWhere = "ParseFuzzyVariable";
constexpr const char* SetWhere = "ParseFuzzySet";
constexpr const char* PairsWhere = "ParseFuzzyValuePairs";
constexpr const char* FunctionWhere = "ParseFuzzyFunction";
constexpr const char* ClauseKeywords = "range, units, or values";

/// What the clauses of a variable definition change, in either model.
struct TVariableClauses {
    TFunctionRef<void(TFzyFloat, TFzyFloat)> SetRange;
    TFunctionRef<void(const std::string&)> SetUnits;
    TFunctionRef<void()> ReadSet;
};

/// The range of the last "(range min max)" clause still ahead in the variable definition
/// being read, found by reading on to the definition's end and putting every token back.
std::optional<std::pair<TFzyFloat, TFzyFloat>> RangeAhead(TFuzzyLogicTokenStream& Stream) {
    std::vector<TLexeme> Read;
    int Depth = 1;  // inside the clause that is being read
    while (Depth >= 0) {
        TLexeme Token = Stream.NextLexeme();
        if (IsKind(Token, fstNone)) {
            Stream.PutBackLexeme(std::move(Token));
            break;
        }
        if (IsKind(Token, '(')) ++Depth;
        if (IsKind(Token, ')')) --Depth;
        Read.push_back(std::move(Token));
    }
    std::optional<std::pair<TFzyFloat, TFzyFloat>> Range;
    Depth = 1;
    for (std::size_t Index = 0; Index < Read.size(); ++Index) {
        const TLexeme& Token = Read[Index];
        if (IsKind(Token, '(') && Depth++ == 0 && Index + 4 < Read.size() &&
            IsKind(Read[Index + 1], fstAtom) && Read[Index + 1].Text == "range" &&
            IsNumber(Read[Index + 2]) && IsNumber(Read[Index + 3]) && IsKind(Read[Index + 4], ')') &&
            Read[Index + 2].Number <= Read[Index + 3].Number)
            Range.emplace(Read[Index + 2].Number, Read[Index + 3].Number);
        if (IsKind(Token, ')')) --Depth;
    }
    // Handed back last first, which restores the echo and the parenthesis level exactly.
    for (auto Token = Read.rbegin(); Token != Read.rend(); ++Token) Stream.PutBackLexeme(std::move(*Token));
    return Range;
}

/// Reads the clauses of a variable definition from T (the first token after the header)
/// up to the ")" that ends it, which stays the current token.
void ReadClauses(TVXFuzzyLogicParser& Parser, TFuzzyLogicTokenStream& Stream, TLexeme T,
                 const TVariableClauses& Clauses) {
    bool RangeRead = false;
    while (!IsKind(T, ')')) {
        const TLexeme Keyword = Stream.NextLexeme();
        if (!IsKind(T, '(')) Parser.ParseError(VariableWhere, SFzyMissingOpenParens);
        if (!IsKind(Keyword, fstAtom))
            Parser.ParseError(VariableWhere, SFzyExpectedKeyword, {ClauseKeywords});
        const std::string_view Word = Keyword.Text;
        if (Word == "range") {
            T = Stream.NextLexeme();
            if (!IsNumber(T)) Parser.ParseError(VariableWhere, SFzyExpectedNumber);
            const TLexeme Upper = Stream.NextLexeme();
            if (!IsNumber(Upper)) Parser.ParseError(VariableWhere, SFzyExpectedNumber);
            if (T.Number > Upper.Number)
                Parser.ParseError(VariableWhere, SFzyInvalidRange, {T.Number, Upper.Number});
            // Applied only once the clause is complete: a broken one leaves the range, and the
            // sets already read inside it, as they were.
            const TFzyFloat Lower = T.Number;
            T = Stream.NextLexeme();
            if (!IsKind(T, ')')) Parser.ParseError(VariableWhere, SFzyMissingCloseParens);
            Clauses.SetRange(Lower, Upper.Number);
            RangeRead = true;
        } else if (Word == "units") {
            Clauses.SetUnits(TFuzzyLogicTokenStream::PrintedForm(Stream.TakeLexeme()));
            T = Stream.NextLexeme();
        } else if (Word == "values") {
            // Sets written before the range would be clamped into the default one: the
            // range a later clause gives applies from the start.
            if (!RangeRead)
                if (const auto Range = RangeAhead(Stream)) {
                    Clauses.SetRange(Range->first, Range->second);
                    RangeRead = true;
                }
            // Each set's "(" is looked at where the tokenizer allows, rather than read and put back.
            for (;;) {
                if (const TLexeme* Next = Stream.PeekLexeme()) {
                    if (IsKind(*Next, ')')) {
                        T = Stream.NextLexeme();
                        break;
                    }
                } else {
                    T = Stream.NextLexeme();
                    if (IsKind(T, ')')) break;
                    Stream.PutBackLexeme(std::move(T));
                }
                Clauses.ReadSet();
            }
        } else {
            Parser.ParseError(VariableWhere, SFzyExpectedKeyword, {ClauseKeywords});
        }
        if (!IsKind(T, ')')) Parser.ParseError(VariableWhere, SFzyMissingCloseParens);
        T = Stream.NextLexeme();
    }
}

/// Moves the X of every point that lies outside [Minimum, Maximum] onto the nearer end, as
/// adding the point under that range would have, in one bulk update of Points (a set or its
/// list; none when every point lies inside, so the set keeps its shape and expression).
template <class TPoints, class TGetX, class TSetX>
void ClampPointsInto(TPoints& Points, int Count, TFzyFloat Minimum, TFzyFloat Maximum, TGetX GetX,
                     TSetX SetX) {
    const auto Outside = [&](int Index) { return GetX(Index) < Minimum || GetX(Index) > Maximum; };
    int First = 0;
    while (First < Count && !Outside(First)) ++First;
    if (First == Count) return;
    const TUpdateGuard Update(Points);
    for (int Index = First; Index < Count; ++Index)
        if (Outside(Index)) SetX(Index, std::clamp(GetX(Index), Minimum, Maximum));
}

/// A range clause read after sets of the definition applies to them too: their points move
/// into the new range, so every set of a parsed variable lies inside its range.
void KeepSetsInRange(const TFuzzyVariable& Variable) {
    const TFuzzySets& Sets = Variable.GetItems();
    for (int Index = 0; Index < Sets.Count(); ++Index) {
        TFuzzySetValues& Points = Sets.GetItem(Index)->GetValues();
        ClampPointsInto(
            Points, Points.Count(), Variable.GetMinimum(), Variable.GetMaximum(),
            [&Points](int Point) { return Points.PointAt(Point)->GetX(); },
            [&Points](int Point, TFzyFloat X) { Points.GetItem(Point)->SetX(X); });
    }
}

void KeepSetsInRange(IFuzzyVariable& Variable) {
    for (int Index = 0; Index < Variable.GetCount(); ++Index) {
        const TIntfPtr<IFuzzySet> Set = Variable.GetFuzzySet(Index);
        ClampPointsInto(
            *Set, Set->GetCount(), Variable.GetMinimum(), Variable.GetMaximum(),
            [&Set](int Point) { return Set->GetXValues(Point); },
            [&Set](int Point, TFzyFloat X) { Set->SetXValues(Point, X); });
    }
}

/// With AutoTerms on, takes the variable being read out of the component's collection
/// (without its automatic terms) and puts it back when it goes, also when the reading
/// raised: the component then adds the automatic terms the text did not define.
class TTakenOut {
public:
    TTakenOut(TFuzzyLogic& Logic, TFuzzyVariable& Variable)
        : FCollection(&Logic.GetItems()), FExceptions(std::uncaught_exceptions()) {
        if (!Logic.GetAutoTerms()) return;
        Variable.SetCollection(nullptr);
        FVariable.reset(&Variable);
        Variable.GetItems().Clear();
    }
    // NOLINTNEXTLINE(bugprone-exception-escape): throws only when no other exception is in flight
    ~TTakenOut() noexcept(false) {
        if (!FVariable) return;
        TFuzzyVariable* Variable = FVariable.release();
        try {
            Variable->SetCollection(FCollection);
        } catch (...) {
            if (std::uncaught_exceptions() == FExceptions) throw;
        }
    }
    TTakenOut(const TTakenOut&) = delete;
    TTakenOut& operator=(const TTakenOut&) = delete;

private:
    TCollection* FCollection;
    TOwned<TFuzzyVariable> FVariable;
    int FExceptions;
};

}  // namespace

// ---- Text entry points --------------------------------------------------------------------------------

void TVXFuzzyLogicParser::ParseFuzzyLogic(const std::string& AString) {
    if (GetFuzzyLogic() == nullptr) throw EFzyParseException(SFuzzyLogicNotSet);
    const TStreamScope Scope(*FState, CreateStream(AString));
    WithLine(*this, [this] { ParseFuzzyLogic(); });
}

TFuzzyVariable* TVXFuzzyLogicParser::ParseFuzzyVariable(const std::string& AString) {
    if (GetFuzzyLogic() == nullptr) throw EFzyParseException(SFuzzyLogicNotSet);
    const TStreamScope Scope(*FState, CreateStream(AString));
    return WithLine(*this, [this] { return ParseFuzzyVariable(); });
}

TIntfPtr<IFuzzyVariable> TVXFuzzyLogicParser::ParseFuzzyVariableIntf(const std::string& Text) {
    if (GetFuzzyLogic() == nullptr) throw EFzyParseException(SFuzzyLogicNotSet);
    const TStreamScope Scope(*FState, CreateStream(Text));
    return WithLine(*this, [this] { return ParseFuzzyVariableIntf(); });
}

TFuzzySet* TVXFuzzyLogicParser::ParseFuzzySet(TFuzzyVariable* Variable, const std::string& AString) {
    if (Variable == nullptr) ParseError(SetWhere, SFzyUndefinedVariable);
    const TStreamScope Scope(*FState, CreateStream(AString));
    return WithLine(*this, [this, Variable] { return ParseFuzzySet(Variable); });
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable,
                                                       const std::string& Text) {
    if (!Variable) ParseError(SetWhere, SFzyUndefinedVariable);
    const TStreamScope Scope(*FState, CreateStream(Text));
    return WithLine(*this, [this, &Variable] { return ParseFuzzySet(Variable); });
}

// ---- The whole text -------------------------------------------------------------------------------------

void TVXFuzzyLogicParser::ParseFuzzyLogic() {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    for (;;) {
        TLexeme T = Stream.NextLexeme();
        if (IsKind(T, fstNone)) return;
        if (!IsKind(T, '('))
            ParseError(LogicWhere, SFzyUnexpectedToken, {TFuzzyLogicTokenStream::PrintedForm(T)});
        Stream.PutBackLexeme(std::move(T));
        if (dynamic_cast<TIFuzzyLogic*>(GetFuzzyLogic()) != nullptr)
            (void)ParseFuzzyVariableIntf();
        else
            (void)ParseFuzzyVariable();
    }
}

// ---- Variables ----------------------------------------------------------------------------------------

TFuzzyVariable* TVXFuzzyLogicParser::ParseFuzzyVariable() {
    std::string Name;
    std::string Comment;
    TLexeme First = Header(Name, Comment, true, "deffuzzy", VariableWhere, SFzyExpectedFuzzyDefinition);
    auto* Logic = dynamic_cast<TFuzzyLogic*>(GetFuzzyLogic());
    if (Logic == nullptr) throw EFzyParseException(SFuzzyLogicNotTFuzzyLogic, GetLineNumber());
    TFuzzyVariables& Items = Logic->GetItems();
    TFuzzyVariable* Variable = nullptr;
    {
        const TUpdateGuard Update(Items);
        Variable = Items.Add();
        const TTakenOut Out(*Logic, *Variable);
        Variable->SetName(Name);
        Variable->SetComment(Comment);
        ReadClauses(*this, *GetStream(), std::move(First),
                    {[Variable](TFzyFloat Min, TFzyFloat Max) {
                         Variable->SetMinimum(Min);
                         Variable->SetMaximum(Max);
                         KeepSetsInRange(*Variable);
                     },
                     [Variable](const std::string& Units) { Variable->SetUnits(Units); },
                     [this, Variable] { ParseFuzzySet(Variable)->SetDefined(true); }});
    }
    if (OnParseFuzzyVariable) OnParseFuzzyVariable(this, Variable);
    return Variable;
}

TIntfPtr<IFuzzyVariable> TVXFuzzyLogicParser::ParseFuzzyVariableIntf() {
    std::string Name;
    std::string Comment;
    TLexeme First = Header(Name, Comment, true, "deffuzzy", VariableWhere, SFzyExpectedFuzzyDefinition);
    auto* Logic = dynamic_cast<TIFuzzyLogic*>(GetFuzzyLogic());
    if (Logic == nullptr) throw EFzyParseException(SFuzzyLogicNotTIFuzzyLogic, GetLineNumber());
    const TIntfPtr<IFuzzyVariable> Variable(Logic->GetItemClass().Create(Name));
    Variable->SetComment(Comment);
    Variable->SetParser(AsIntf<IFuzzyParser>());
    IFuzzyVariable& Target = *Variable;
    ReadClauses(*this, *GetStream(), std::move(First),
                {[&Target](TFzyFloat Min, TFzyFloat Max) {
                     Target.SetMinimum(Min);
                     Target.SetMaximum(Max);
                     KeepSetsInRange(Target);
                 },
                 [&Target](const std::string& Units) { Target.SetUnits(Units); },
                 [this, &Variable] { ParseFuzzySet(Variable)->SetDefined(true); }});
    Logic->GetItems().Add(Variable);
    if (OnParseFuzzyVariableIntf) OnParseFuzzyVariableIntf(Variable);
    return Variable;
}

// ---- Sets -------------------------------------------------------------------------------------------------

namespace {

/// What a set body is.
enum class TBody { Expression, Pairs, Function };

/// Whether the next token is of Kind. It is left unread: NextLexeme and PutBackLexeme of it,
/// in one step where the tokenizer allows.
bool NextIs(TFuzzyLogicTokenStream& Stream, int Kind) {
    if (const TLexeme* Next = Stream.PeekLexeme()) return IsKind(*Next, Kind);
    TLexeme Token = Stream.NextLexeme();
    const bool Is = IsKind(Token, Kind);
    Stream.PutBackLexeme(std::move(Token));
    return Is;
}

/// The kind of the set body ahead, told by its first tokens, which are left unread.
TBody BodyAhead(TFuzzyLogicTokenStream& Stream) {
    TLexeme First;
    if (const TLexeme* Next = Stream.PeekLexeme()) {
        if (!IsKind(*Next, '(')) return TBody::Expression;
        First = Stream.NextLexeme();
    } else {
        // A descendant tokenizer sees each token read and put back.
        First = Stream.NextLexeme();
        if (!IsKind(First, '(')) {
            Stream.PutBackLexeme(std::move(First));
            return TBody::Expression;
        }
    }
    const bool Pairs = NextIs(Stream, '(');
    Stream.PutBackLexeme(std::move(First));
    return Pairs ? TBody::Pairs : TBody::Function;
}

}  // namespace

TFuzzySet* TVXFuzzyLogicParser::ParseFuzzySet(TFuzzyVariable* Variable) {
    std::string Name;
    std::string Comment;
    (void)Header(Name, Comment, true, "term", SetWhere, SFzyExpectedFuzzySet, true);
    // The set made for this definition goes again unless the definition completes.
    TOwned<TFuzzySet> Set(ParseFuzzyValues(Variable));
    Set->SetName(Name);
    Set->SetComment(std::move(Comment));
    if (!IsKind(GetStream()->TakeLexeme(), ')')) ParseError(SetWhere, SFzyMissingCloseParens);
    TFuzzySet* Result = Set.release();
    if (OnParseFuzzySet) OnParseFuzzySet(this, Result);
    return Result;
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ParseFuzzySet(const TIntfPtr<IFuzzyVariable>& Variable) {
    std::string Name;
    std::string Comment;
    (void)Header(Name, Comment, true, "term", SetWhere, SFzyExpectedFuzzySet, true);
    // Not in the variable's table until the definition completes; dropped otherwise.
    const TIntfPtr<IFuzzySet> Set = ParseFuzzyValues(Variable);
    Set->SetName(Name);
    Set->SetComment(Comment);
    if (!IsKind(GetStream()->TakeLexeme(), ')')) ParseError(SetWhere, SFzyMissingCloseParens);
    Set->SetDefined(true);
    if (OnParseFuzzySetIntf) OnParseFuzzySetIntf(Variable, Set);
    return Set;
}

TFuzzySet* TVXFuzzyLogicParser::ParseFuzzyValues(TFuzzyVariable* Variable) {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    const TBody Body = BodyAhead(Stream);
    if (Body == TBody::Expression) {
        const TLease<std::vector<TLexeme>> Tokens = TLease<std::vector<TLexeme>>::Take();
        ParseLexemes(*Tokens);
        TFuzzyExpressionResult Result = EvaluateTokens(Variable, *Tokens);
        // The definition names its set: an existing one is copied, never renamed.
        return Result.Owns() ? Result.release() : Result->Clone().release();
    }
    return Body == TBody::Pairs ? ParseFuzzyValuePairs(Variable) : ParseFuzzyFunction(Variable);
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ParseFuzzyValues(const TIntfPtr<IFuzzyVariable>& Variable) {
    TFuzzyLogicTokenStream& Stream = *GetStream();
    const TBody Body = BodyAhead(Stream);
    if (Body == TBody::Expression) {
        const TLease<std::vector<TLexeme>> Tokens = TLease<std::vector<TLexeme>>::Take();
        ParseLexemes(*Tokens);
        TIntfPtr<IFuzzySet> Result = EvaluateTokens(Variable, *Tokens);
        // A set of the variable's table is copied, never renamed.
        return Result->GetDefined() ? Result->Clone().Query<IFuzzySet>() : Result;
    }
    return Body == TBody::Pairs ? ParseFuzzyValuePairs(Variable) : ParseFuzzyFunction(Variable);
}

namespace {

/// "(" "(" x y ")" ... ")" into Add, in one bulk update of Points.
template <class TPoints>
void ReadValuePairs(TVXFuzzyLogicParser& Parser, TFuzzyLogicTokenStream& Stream, TPoints& Points,
                    TFunctionRef<void(TFzyFloat, TFzyFloat)> Add) {
    TLexeme T = Stream.NextLexeme();
    if (!IsKind(T, '(')) Parser.ParseError(PairsWhere, SFzyMissingOpenParens);
    T = Stream.NextLexeme();
    {
        const TUpdateGuard Update(Points);
        int Count = 0;
        while (IsKind(T, '(')) {
            const TLexeme X = Stream.NextLexeme();
            if (!IsNumber(X)) Parser.ParseError(PairsWhere, SFzyExpectedNumber);
            const TLexeme Y = Stream.NextLexeme();
            if (!IsNumber(Y)) Parser.ParseError(PairsWhere, SFzyExpectedNumber);
            if (++Count > TVXFuzzyLogicParser::MaxSetPoints)
                Parser.ParseError(PairsWhere, SFzyTooManyPoints, {TVXFuzzyLogicParser::MaxSetPoints});
            Add(X.Number, Y.Number);
            if (!IsKind(Stream.TakeLexeme(), ')')) Parser.ParseError(PairsWhere, SFzyMissingCloseParens);
            T = Stream.NextLexeme();
        }
    }
    if (!IsKind(T, ')')) Parser.ParseError(PairsWhere, SFzyMissingCloseParens);
}

}  // namespace

TFuzzySet* TVXFuzzyLogicParser::ParseFuzzyValuePairs(TFuzzyVariable* Variable) {
    TOwned<TFuzzySet> Set(Variable->GetItems().Add());
    TFuzzySetValues& Points = Set->GetValues();
    ReadValuePairs(*this, *GetStream(), Points, [&Points](TFzyFloat X, TFzyFloat Y) { Points.Add(X, Y); });
    return Set.release();
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ParseFuzzyValuePairs(const TIntfPtr<IFuzzyVariable>& Variable) {
    TIntfPtr<IFuzzySet> Set = NewIntfSet(Variable, GetUniqueName());
    IFuzzySet& Points = *Set;
    ReadValuePairs(*this, *GetStream(), Points, [&Points](TFzyFloat X, TFzyFloat Y) { Points.Add(X, Y); });
    return Set;
}

namespace {

/// "(" function-name: the name.
std::string ReadFunctionName(TVXFuzzyLogicParser& Parser, TFuzzyLogicTokenStream& Stream) {
    if (!IsKind(Stream.TakeLexeme(), '(')) Parser.ParseError(FunctionWhere, SFzyMissingOpenParens);
    const TLexeme& Name = Stream.TakeLexeme();
    if (!IsKind(Name, fstAtom)) Parser.ParseError(FunctionWhere, SFzyMissingName);
    return std::string(Name.Text);
}

}  // namespace

TFuzzySet* TVXFuzzyLogicParser::ParseFuzzyFunction(TFuzzyVariable* Variable) {
    const std::string Name = ReadFunctionName(*this, *GetStream());
    const TIntfPtr<IFuzzyStreamTokenList> Args = ParseTokenList();
    // Freed when the function raises, and by the call when a handler answers with another set.
    TOwned<TFuzzySet> Set(Variable->GetItems().Add());
    TFuzzySet* Result = CalcFuzzyFunction(Set.get(), Name, Args);
    (void)Set.release();
    (void)GetStream()->TakeLexeme();  // the call's ")"
    return Result;
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::ParseFuzzyFunction(const TIntfPtr<IFuzzyVariable>& Variable) {
    const std::string Name = ReadFunctionName(*this, *GetStream());
    const TIntfPtr<IFuzzyStreamTokenList> Args = ParseTokenList();
    TIntfPtr<IFuzzySet> Result = CalcFuzzyFunction(NewIntfSet(Variable, GetUniqueName()), Name, Args);
    (void)GetStream()->TakeLexeme();  // the call's ")"
    return Result;
}

}  // namespace fzl
