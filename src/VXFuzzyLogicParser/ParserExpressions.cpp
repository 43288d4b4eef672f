// The expression evaluator of TVXFuzzyLogicParser: token classes and priorities, the
// shape check, postfix order, and the evaluation of hedges, base hedges and operation
// keywords over a stack of sets, once for each model.

#include <algorithm>
#include <array>
#include <cstddef>
#include <forward_list>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzySetDraft.h>
#include <fzl/IFuzzyLogic/FuzzySetIntf.h>
#include <fzl/IFuzzyLogic/FuzzyStreamTokenList.h>
#include <fzl/IFuzzyLogic/FuzzyVariableIntf.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/VXFuzzyLogicParser/VXFuzzyLogicParser.h>

#include "internal/Lease.h"
#include "internal/ParserState.h"

namespace fzl {

namespace {

constexpr const char* EvalWhere = "EvalFuzzyExpression";

using TToken = TIntfPtr<IFuzzyStreamToken>;

// ---- Token classes ----------------------------------------------------------------------------

enum class TTokenClass { Operand, Hedge, Binary, Open, Close };

/// What an operator word does when it is applied, looked up once with its class: the
/// word is tried as a hedge, then as a base hedge, then as an operation keyword.
enum class TOperatorKind { None, Hedge, BaseHedge, Keyword };

/// A token's class and, for an operator word, what it does.
struct TTokenInfo {
    TTokenClass Class = TTokenClass::Operand;
    TOperatorKind Kind = TOperatorKind::None;
    TFuzzyHedge Hedge{};
    TBaseFuzzyHedge BaseHedge{};
    bool AxisFlag = false;
    bool IsUnion = false;
    TFuzzyOperation Operation{};
};

/// What a word is in an expression, read from the tables of hedges, base hedges and keywords.
TTokenInfo ClassifyWord(std::string_view Text) {
    TTokenInfo Info;
    const bool IsKeyword = IsFuzzyKeyword(Text, Info.IsUnion, Info.Operation);
    const bool IsBaseHedge = IsFuzzyHedgeOperator(Text, Info.BaseHedge, Info.AxisFlag);
    const bool IsHedge = IsFuzzyHedge(Text, Info.Hedge);
    if (IsKeyword || IsBaseHedge)
        Info.Class = TTokenClass::Binary;
    else if (IsHedge)
        Info.Class = TTokenClass::Hedge;
    Info.Kind = IsHedge       ? TOperatorKind::Hedge
                : IsBaseHedge ? TOperatorKind::BaseHedge
                : IsKeyword   ? TOperatorKind::Keyword
                              : TOperatorKind::None;
    return Info;
}

/// ClassifyWord of every word, looked up: each word the tables know is classified once, and
/// any other word is told apart by its first character or one hash look-up.
class TOperatorWords {
public:
    [[nodiscard]] static const TOperatorWords& Instance() {
        static const TOperatorWords Words;
        return Words;
    }
    [[nodiscard]] const TTokenInfo& Find(std::string_view Word) const {
        if (Word.empty() || !FStarts[static_cast<unsigned char>(Word.front())]) return FOther;
        const auto Found = FWords.find(Word);
        return Found == FWords.end() ? FOther : Found->second;
    }

private:
    /// The words are short and hashed for most operands: a few multiply-adds inline do better
    /// than the library's general string hash.
    struct THash {
        using is_transparent = void;
        std::size_t operator()(std::string_view Word) const noexcept {
            std::size_t Hash = Word.size();
            for (const char C : Word) Hash = Hash * 31 + static_cast<unsigned char>(C);
            return Hash;
        }
    };

    TOperatorWords() : FOther(ClassifyWord({})) {
        for (const std::string_view Word : HedgeNames) Add(std::string(Word));
        for (const std::string_view Word : FuzzyIntersectionKeywords) Add(std::string(Word));
        for (const std::string_view Word : FuzzyUnionKeywords) Add(std::string(Word));
        for (const std::string_view Word : BaseHedgeNames) {
            Add(std::string(Word));
            Add(std::string(Word) + 'X');
        }
    }
    void Add(std::string Word) {
        FStarts[static_cast<unsigned char>(Word.front())] = true;
        const TTokenInfo Info = ClassifyWord(Word);
        FWords.emplace(std::move(Word), Info);
    }

    std::unordered_map<std::string, TTokenInfo, THash, std::equal_to<>> FWords;
    std::array<bool, 256> FStarts{};
    TTokenInfo FOther;
};

/// What a token is in an expression. A string always names a set: quoting a word is how
/// a set name is written, whatever the word.
TTokenInfo ClassifyFully(int Kind, std::string_view Text) {
    switch (Kind) {
        case '[': return {.Class = TTokenClass::Open};
        case ']': return {.Class = TTokenClass::Close};
        case fstVariable:
        case fstList:
        case fstIFuzzySet:
        case fstFuzzySet:
        case fstString: return {};
        default: return TOperatorWords::Instance().Find(Text);
    }
}

TTokenClass Classify(const TToken& Token) {
    return ClassifyFully(Token->GetDataType(), Token->GetText()).Class;
}

int InStack(TTokenClass Class) {
    switch (Class) {
        case TTokenClass::Open: return 4;
        case TTokenClass::Binary: return 3;
        case TTokenClass::Hedge: return 2;
        default: return 1;
    }
}

int Incoming(TTokenClass Class) {
    switch (Class) {
        case TTokenClass::Open: return 0;
        case TTokenClass::Binary: return 3;
        default: return 1;
    }
}

TToken AsToken(const TIntfPtr<IInterface>& Item) { return Item ? Item.Query<IFuzzyStreamToken>() : TToken(); }

// ---- The two models -------------------------------------------------------------------------------

/// The class model: sets live in the variable's collection; a set the evaluation made is
/// held owned (freed when its entry goes), any other borrowed.
struct TClassModel {
    using TVariable = TFuzzyVariable*;
    using TEntry = TFuzzyExpressionResult;
    using TSet = TFuzzySet;
    /// Unwatched, intermediate sets may be drafts (see TFuzzySetDraft).
    static constexpr bool Drafts = true;

    static TFuzzySet* Set(const TEntry& Entry) noexcept { return Entry.get(); }
    static bool Made(const TEntry& Entry) noexcept { return Entry.Owns(); }
    static TEntry Borrow(TFuzzySet* Set) { return TEntry::Borrowing(Set); }
    static TEntry Find(TVariable Variable, const std::string& Name) {
        return TEntry::Borrowing(Variable->GetItems().Find(Name));
    }
    /// A new set of the variable's set class in its collection (not through Add, which would
    /// also make it the variable's current set), counted in Made as soon as it is there.
    static TEntry NewSet(TVariable Variable, const std::string& Name, unsigned& Made) {
        TEntry Entry = TEntry::Owning(Variable->GetSetClass().Create(&Variable->GetItems()));
        ++Made;
        Entry->SetName(Name);
        return Entry;
    }
    static TEntry Copy(const TEntry& Entry) { return TEntry::Owning(Entry->Clone().release()); }
    static int PointCount(const TEntry& Entry) noexcept { return Entry->GetValues().Count(); }
    static void Hedge(const TEntry& Entry, TFuzzyHedge Hedge) { Entry->Hedge(Hedge); }
    static void Hedge(const TEntry& Entry, TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) {
        Entry->Hedge(Hedge, Value, AxisFlag);
    }
    static TEntry Combine(const TEntry& Left, const TEntry& Right, TFuzzyOperation Operation, bool IsUnion) {
        return TEntry::Owning(IsUnion ? Left->Union(*Right, Operation).release()
                                      : Left->Intersection(*Right, Operation).release());
    }
    static TEntry FromToken(const TToken& Token) {
        return TEntry::Borrowing(DownCast<TFuzzySet>(Token->GetObjValue()));
    }
    static bool HoldsSet(const TToken& Token) { return Token->GetDataType() == fstFuzzySet; }
    static TEntry Function(TVXFuzzyLogicParser& Parser, TEntry Entry, const std::string& Name,
                           const TIntfPtr<IFuzzyStreamTokenList>& Args) {
        TFuzzySet* Shaped = Parser.CalcFuzzyFunction(Entry.get(), Name, Args);
        // A handler that answered with another set has freed ours; that one is its own.
        if (Shaped != Entry.get()) {
            (void)Entry.release();
            return TEntry::Borrowing(Shaped);
        }
        return Entry;
    }
    static void Values(TVXFuzzyLogicParser& Parser, const TEntry& Entry,
                       const TIntfPtr<IFuzzyStreamTokenList>& List) {
        Parser.ConvertListToValues(Entry.get(), List);
    }
    static void Notify(TVXFuzzyLogicParser& Parser, TVariable Variable, const std::string& Text,
                       TEntry& Entry) {
        TFuzzySet* Result = Entry.get();
        Parser.OnEvalExpression(&Parser, Variable, Text, Result);
        // A handler answering nothing leaves the result as it was.
        if (Result != nullptr && Result != Entry.get()) Entry = TEntry::Borrowing(Result);
    }
    static bool HasHandler(const TVXFuzzyLogicParser& Parser) {
        return static_cast<bool>(Parser.OnEvalExpression);
    }

    /// While an evaluation runs with nobody watching (no handler of the parser or the
    /// component, the library's own classes), the reports of its sets coming and going are
    /// held back, and what they leave is left once at the end when it made any set.
    class TQuiet {
    public:
        TQuiet(const TVXFuzzyLogicParser& Parser, TVariable Variable, const unsigned& SetsMade)
            : FSetsMade(SetsMade), FStart(SetsMade) {
            if (Variable != nullptr && typeid(Parser) == typeid(TVXFuzzyLogicParser) &&
                !Parser.OnEvalExpression && !Parser.OnCalcFuzzyFunction &&
                TFuzzySet::HoldRelays(Variable->GetItems()))
                FSets = &Variable->GetItems();
        }
        ~TQuiet() {
            if (FSets != nullptr) TFuzzySet::ReleaseRelays(*FSets, FSetsMade != FStart);
        }
        /// Whether the evaluation runs unwatched.
        [[nodiscard]] bool Active() const noexcept { return FSets != nullptr; }
        TQuiet(const TQuiet&) = delete;
        TQuiet& operator=(const TQuiet&) = delete;

    private:
        TFuzzySets* FSets = nullptr;
        const unsigned& FSetsMade;
        unsigned FStart;
    };
};

/// The entry of the reference-counted model: the set, and whether this evaluation made it.
struct TIntfEntry {
    TIntfPtr<IFuzzySet> Set;
    bool Made = false;
    IFuzzySet* operator->() const noexcept { return Set.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(Set); }
};

/// The reference-counted model: a set the evaluation makes is a set of the variable that
/// is not in its table, alive while referenced.
struct TIntfModel {
    using TVariable = TIntfPtr<IFuzzyVariable>;
    using TEntry = TIntfEntry;
    static constexpr bool Drafts = false;

    static bool Made(const TEntry& Entry) noexcept { return Entry.Made; }
    static TEntry Borrow(const TIntfPtr<IFuzzySet>& Set) { return {Set, false}; }
    static TEntry Find(const TVariable& Variable, const std::string& Name) {
        return {Variable->ContainsFuzzySet(Name), false};
    }
    static TEntry NewSet(const TVariable& Variable, const std::string& Name, unsigned& /*Made*/) {
        return {NewIntfSet(Variable, Name), true};
    }
    static TEntry Copy(const TEntry& Entry) { return {Entry.Set->Clone().Query<IFuzzySet>(), true}; }
    static int PointCount(const TEntry& Entry) { return Entry->GetCount(); }
    static void Hedge(const TEntry& Entry, TFuzzyHedge Hedge) { (void)Entry->Hedge(Hedge); }
    static void Hedge(const TEntry& Entry, TBaseFuzzyHedge Hedge, TFzyFloat Value, bool AxisFlag) {
        (void)Entry->Hedge(Hedge, Value, AxisFlag);
    }
    static TEntry Combine(const TEntry& Left, const TEntry& Right, TFuzzyOperation Operation, bool IsUnion) {
        return {IsUnion ? Left->Union(Right.Set, Operation) : Left->Intersection(Right.Set, Operation), true};
    }
    static TEntry FromToken(const TToken& Token) { return {Token->GetFuzzySetIntf(), false}; }
    static bool HoldsSet(const TToken& Token) { return Token->GetDataType() == fstIFuzzySet; }
    static TEntry Function(TVXFuzzyLogicParser& Parser, const TEntry& Entry, const std::string& Name,
                           const TIntfPtr<IFuzzyStreamTokenList>& Args) {
        TIntfPtr<IFuzzySet> Shaped = Parser.CalcFuzzyFunction(Entry.Set, Name, Args);
        const bool Same = SameObject(Shaped, Entry.Set);
        return {std::move(Shaped), Same};
    }
    static void Values(TVXFuzzyLogicParser& Parser, const TEntry& Entry,
                       const TIntfPtr<IFuzzyStreamTokenList>& List) {
        (void)Parser.ConvertListToValues(Entry.Set, List);
    }
    static void Notify(TVXFuzzyLogicParser& Parser, const TVariable& Variable, const std::string& Text,
                       TEntry& Entry) {
        TIntfPtr<IFuzzySet> Result = Entry.Set;
        Parser.OnEvalExpressionIntf(Variable, Text, Result);
        if (Result && !SameObject(Result, Entry.Set)) Entry = {std::move(Result), false};
    }
    static bool HasHandler(const TVXFuzzyLogicParser& Parser) {
        return static_cast<bool>(Parser.OnEvalExpressionIntf);
    }

    /// Every change of a set of this model is reported as it happens.
    struct TQuiet {
        TQuiet(const TVXFuzzyLogicParser& /*Parser*/, const TVariable& /*Variable*/,
               const unsigned& /*SetsMade*/) {}
    };
};

}  // namespace

using TDraftLease = TLease<TFuzzySetDraft>;

/// Empties a container when the scope ends, however it ends.
template <class TContainer>
class TClearOnExit {
public:
    explicit TClearOnExit(TContainer& Container) noexcept : FContainer(Container) {}
    ~TClearOnExit() { FContainer.clear(); }
    TClearOnExit(const TClearOnExit&) = delete;
    TClearOnExit& operator=(const TClearOnExit&) = delete;

private:
    TContainer& FContainer;
};

// ---- The evaluator ---------------------------------------------------------------------------------

/// Evaluates expressions of one variable in one model. Every set it makes is held by an
/// entry that frees it (or drops its reference) when it goes, so intermediate sets never
/// outlive the evaluation, also when it raises.
template <class TModel>
class TExpressionEvaluator {
public:
    using TEntry = typename TModel::TEntry;
    using TVariable = typename TModel::TVariable;

private:
    /// A token of the expression with its class and, for an operator, what it does.
    struct TClassified {
        const TLexeme* Token;
        TTokenInfo Info;
    };

    /// An entry of the evaluation stack: a set, or a number not yet made into one (a base
    /// hedge uses the number as written, so it never needs the set).
    struct TItem {
        TEntry Set;
        const TLexeme* Number = nullptr;
        TDraftLease Draft;  // instead of Set, for a result that only feeds a combination
    };

    /// The working storage of one evaluation.
    struct TScratch {
        std::vector<TClassified> Infix;
        std::vector<int> Postfix;
        std::vector<int> Operators;  // the postfix order's stack
        std::vector<TItem> Stack;
        std::vector<char> Feeds;
        std::vector<std::size_t> Pending;
        void clear() noexcept {
            Infix.clear();
            Postfix.clear();
            Operators.clear();
            Stack.clear();
            Feeds.clear();
            Pending.clear();
        }
    };

public:
    TExpressionEvaluator(TVXFuzzyLogicParser& Parser, TVariable Variable)
        : FParser(Parser),
          FState(*Parser.FState),
          FScope(FState),
          FVariable(std::move(Variable)),
          FQuiet(FParser, FVariable, FState.SetsMade) {
        if (!FVariable) FParser.ParseError(EvalWhere, SFzyUndefinedVariable);
    }

    /// The expression of Text: read with its own tokenizer, up to its end.
    TEntry EvalText(const std::string& Text) {
        const TStreamScope Scope(FState, FParser.CreateStream(Text));
        const TQuotedExpression Quoted(FState, Text);
        const TLease<std::vector<TLexeme>> Tokens = TLease<std::vector<TLexeme>>::Take();
        FParser.ParseLexemes(*Tokens);
        const TLexeme Rest = FState.Stream->NextLexeme();
        if (!IsKind(Rest, fstNone)) Fail(&Rest, Format(SFzyInvalidToken, {PrintedFormAt(&Rest)}));
        return EvalLexemes(*Tokens);
    }

    /// The expression of a token list, in infix order.
    TEntry EvalList(const TIntfPtr<IFuzzyStreamTokenList>& List) {
        const int Count = List ? List->GetCount() : 0;
        std::vector<TLexeme> Tokens;
        Tokens.reserve(static_cast<std::size_t>(Count));
        for (int Index = 0; Index < Count; ++Index) Tokens.push_back(LexemeOf(List->Get(Index)));
        return EvalLexemes(Tokens);
    }

    /// The expression of tokens in infix order.
    TEntry EvalTokens(std::span<const TToken> Tokens) {
        std::vector<TLexeme> Lexemes;
        Lexemes.reserve(Tokens.size());
        for (const TToken& Token : Tokens) Lexemes.push_back(LexemeOf(Token));
        return EvalLexemes(Lexemes);
    }

    /// The expression of lexemes in infix order (as ParseLexemes reads them: a group's
    /// contents follow it). Each token is classified once; postfix order is computed over
    /// positions, so no token is copied on the way.
    TEntry EvalLexemes(std::span<const TLexeme> Tokens) {
        const TLease<TScratch> Scratch = TLease<TScratch>::Take();
        std::vector<TClassified>& Infix = Scratch->Infix;
        Infix.reserve(Tokens.size());
        for (std::size_t Index = 0; Index < Tokens.size();
             Index += 1 + static_cast<std::size_t>(Tokens[Index].Span))
            Infix.push_back({&Tokens[Index], ClassifyFully(Tokens[Index].Kind, Tokens[Index].Text)});
        return EvalInfix(*Scratch);
    }

    /// The expression of Scratch's classified tokens in infix order.
    TEntry EvalInfix(TScratch& Scratch) {
        const std::vector<TClassified>& Infix = Scratch.Infix;
        CheckShape(Infix);
        FDrafting = CanDraft(Infix);
        PostfixOrder(Infix, Scratch.Operators, Scratch.Postfix);
        const std::vector<int>& Postfix = Scratch.Postfix;
        TEntry Result = Postfix.empty() ? Empty() : EvalPostfix(Scratch);
        if (TModel::HasHandler(FParser))
            TModel::Notify(FParser, FVariable, PrintedForm(Infix, Postfix), Result);
        return Result;
    }

    /// One operand.
    TEntry EvalOperand(const TToken& Token) {
        if (!Token) return Empty();
        const TLexeme Lexeme = LexemeOf(Token);
        return EvalOperand(&Lexeme);
    }

private:
    TEntry EvalOperand(const TLexeme* Token) {
        if (++FState.OperandCount > TVXFuzzyLogicParser::MaxOperandEvaluations)
            Fail(Token, Format(SFzyTooManyOperands, {TVXFuzzyLogicParser::MaxOperandEvaluations}));
        switch (Token->Kind) {
            case fstAtom:
            case fstString: return Named(Token);
            case fstInteger:
            case fstFloat: return Number(Token);
            case fstVariable: return Reference(Token);
            case fstList: return ListSet(Token);
            default: break;
        }
        if (Token->Object && TModel::HoldsSet(Token->Object))
            if (TEntry Entry = TModel::FromToken(Token->Object)) return Entry;
        Fail(Token, Format(SFzyInvalidToken, {PrintedFormAt(Token)}));
    }

    /// The lexeme of a token handed in, its text kept for the evaluation; nil fails.
    TLexeme LexemeOf(const TToken& Token) {
        if (!Token) Fail(nullptr, Format(SFzyInvalidToken, {std::string()}));
        return TFuzzyLogicTokenStream::LexemeOf(Token, FTexts);
    }

    /// The positions of Infix in postfix order, by the shunting-yard method: operands go out
    /// in order; an open bracket is stacked; a close bracket unstacks down to its open bracket
    /// (both dropped; without one it goes out, for the caller to report); an operator first
    /// unstacks the operators above the nearest open bracket whose in-stack priority is at
    /// most its incoming one, then is stacked; what is left is unstacked at the end.
    static void PostfixOrder(const std::vector<TClassified>& Infix, std::vector<int>& Stack,
                             std::vector<int>& Output) {
        Output.reserve(Infix.size());
        Stack.reserve(Infix.size());
        const auto ClassAt = [&Infix](int Position) {
            return Infix[static_cast<std::size_t>(Position)].Info.Class;
        };
        for (int Position = 0; Position < static_cast<int>(Infix.size()); ++Position) {
            const TTokenClass Class = ClassAt(Position);
            if (Class == TTokenClass::Operand) {
                Output.push_back(Position);
            } else if (Class == TTokenClass::Open) {
                Stack.push_back(Position);
            } else if (Class == TTokenClass::Close) {
                while (!Stack.empty() && ClassAt(Stack.back()) != TTokenClass::Open) {
                    Output.push_back(Stack.back());
                    Stack.pop_back();
                }
                if (Stack.empty())
                    Output.push_back(Position);
                else
                    Stack.pop_back();
            } else {
                const int Priority = Incoming(Class);
                while (!Stack.empty() && ClassAt(Stack.back()) != TTokenClass::Open &&
                       InStack(ClassAt(Stack.back())) <= Priority) {
                    Output.push_back(Stack.back());
                    Stack.pop_back();
                }
                Stack.push_back(Position);
            }
        }
        Output.insert(Output.end(), Stack.rbegin(), Stack.rend());
    }

    [[noreturn]] void Fail(const TLexeme* At, const std::string& Message) const {
        const int Line = FState.LineOverride > 0 ? FState.LineOverride
                         : At != nullptr         ? At->Line
                                                 : FParser.GetLineNumber();
        FParser.ParseError(EvalWhere, Message, FParser.GetParsedText(), Line);
        // An override must raise too; one that returns gets the base report.
        FParser.TCustomFuzzyLogicParser::ParseError(EvalWhere, Message, FParser.GetParsedText(), Line);
    }

    /// Refuses what does not read as [hedges] operand {operator [hedges] operand}, with
    /// brackets in pairs, before anything is evaluated: no operand is ever dropped silently.
    void CheckShape(const std::vector<TClassified>& Infix) const {
        bool ExpectOperand = true;
        int Depth = 0;
        int Operators = 0;
        const TLexeme* Last = nullptr;
        TTokenClass LastClass = TTokenClass::Operand;
        for (const auto& [Token, Info] : Infix) {
            const TTokenClass Class = Info.Class;
            if (Class == TTokenClass::Hedge || Class == TTokenClass::Binary)
                if (++Operators > TVXFuzzyLogicParser::MaxExpressionOperators)
                    Fail(Token, Format(SFzyTooManyOperators, {TVXFuzzyLogicParser::MaxExpressionOperators}));
            if (ExpectOperand) {
                switch (Class) {
                    case TTokenClass::Operand: ExpectOperand = false; break;
                    case TTokenClass::Hedge: break;
                    case TTokenClass::Open: ++Depth; break;
                    case TTokenClass::Binary: Fail(Token, Format(SFzyMissingOperand, {PrintedFormAt(Token)}));
                    case TTokenClass::Close: MissingOperand(Last, LastClass, Token);
                }
            } else {
                switch (Class) {
                    case TTokenClass::Binary: ExpectOperand = true; break;
                    case TTokenClass::Close:
                        if (Depth == 0) Fail(Token, Format(SFzyUnmatchedBracket, {PrintedFormAt(Token)}));
                        --Depth;
                        break;
                    default: Fail(Token, Format(SFzyMissingOperator, {PrintedFormAt(Token)}));
                }
            }
            Last = Token;
            LastClass = Class;
        }
        if (ExpectOperand && Last != nullptr) MissingOperand(Last, LastClass, Last);
        if (Depth > 0)
            for (const auto& [Token, Info] : Infix)
                if (Info.Class == TTokenClass::Open)
                    Fail(Token, Format(SFzyUnmatchedBracket, {PrintedFormAt(Token)}));
    }

    /// An operand is missing after Last (of class LastClass), found at At.
    [[noreturn]] void MissingOperand(const TLexeme* Last, TTokenClass LastClass, const TLexeme* At) const {
        if (Last != nullptr && LastClass != TTokenClass::Open)
            Fail(At, Format(SFzyMissingOperand, {PrintedFormAt(Last)}));
        Fail(At, Format(SFzyInvalidToken, {PrintedFormAt(At)}));  // "[]" or "[" at the end
    }

    static std::string PrintedForm(const std::vector<TClassified>& Infix, const std::vector<int>& Postfix) {
        std::string Text;
        for (const int Position : Postfix) {
            if (!Text.empty()) Text += ' ';
            Text += PrintedFormAt(Infix[static_cast<std::size_t>(Position)].Token);
        }
        return Text;
    }

    TEntry EvalPostfix(TScratch& Scratch) {
        const std::vector<TClassified>& Infix = Scratch.Infix;
        const std::vector<int>& Postfix = Scratch.Postfix;
        std::vector<TItem>& Stack = Scratch.Stack;
        // What is left on the stack goes when the evaluation ends, also when it raises.
        const TClearOnExit<std::vector<TItem>> Clear(Stack);
        Stack.reserve(Postfix.size());
        std::vector<char>& Feeds = Scratch.Feeds;
        if (FDrafting) FeedsCombination(Infix, Postfix, Scratch.Pending, Feeds);
        for (std::size_t Index = 0; Index < Postfix.size(); ++Index) {
            const auto& [Token, Info] = Infix[static_cast<std::size_t>(Postfix[Index])];
            if (Info.Class == TTokenClass::Operand) {
                Push(Stack, Token);
                continue;
            }
            // The shape check guarantees the operands; kept as a last line of defence.
            if (Stack.empty()) Fail(Token, Format(SFzyMissingOperand, {PrintedFormAt(Token)}));
            try {
                Apply(Stack, Token, Info, !Feeds.empty() && Feeds[Index] != 0);
            } catch (const EFzyParseException&) {
                throw;
            } catch (const EFzyException& Error) {
                // A model error keeps its message and gains the operator's line.
                throw EFzyParseException(Error.Message(),
                                         FState.LineOverride > 0 ? FState.LineOverride : Token->Line);
            }
        }
        if (Stack.size() != 1) {
            const TLexeme* Last = Infix[static_cast<std::size_t>(Postfix.back())].Token;
            Fail(Last, Format(SFzyMissingOperator, {PrintedFormAt(Last)}));
        }
        return SetOf(Stack.back());
    }

    void Push(std::vector<TItem>& Stack, const TLexeme* Token) {
        if (IsNumber(*Token)) {
            if (++FState.OperandCount > TVXFuzzyLogicParser::MaxOperandEvaluations)
                Fail(Token, Format(SFzyTooManyOperands, {TVXFuzzyLogicParser::MaxOperandEvaluations}));
            Stack.push_back({TEntry(), Token, {}});
        } else {
            Stack.push_back({EvalOperand(Token), nullptr, {}});
        }
    }

    /// Entry, a set this evaluation has just made, counted.
    TEntry Made(TEntry Entry) noexcept {
        ++FState.SetsMade;
        return Entry;
    }

    /// The set of a stack entry, made from its number when it is one.
    TEntry SetOf(TItem& Item) {
        if (Item.Number) return NumberSet(Item.Number);
        return std::move(Item.Set);
    }

    /// Item's set, copied first unless this evaluation made it, so that only sets of its
    /// own are reshaped in place.
    TEntry OwnSet(TItem& Item) {
        TEntry Entry = SetOf(Item);
        return TModel::Made(Entry) ? std::move(Entry) : Made(TModel::Copy(Entry));
    }

    /// Applies an operator to the stack's top; Draft: its result only feeds a combination.
    void Apply(std::vector<TItem>& Stack, const TLexeme* Token, const TTokenInfo& Info, bool Draft) {
        if (Info.Kind == TOperatorKind::Hedge) {
            if (Draft && HedgeDraft(Stack.back(), Token, Info.Hedge)) return;
            TEntry Set = OwnSet(Stack.back());
            TModel::Hedge(Set, Info.Hedge);
            CheckSize(Token, Set);
            Stack.back() = {std::move(Set), nullptr, {}};
            return;
        }
        TItem Right = std::move(Stack.back());
        Stack.pop_back();
        if (Stack.empty()) Fail(Token, Format(SFzyMissingOperand, {PrintedFormAt(Token)}));
        if (Info.Kind == TOperatorKind::BaseHedge) {
            // A number is used as written; any other operand by its mean of maxima.
            const TFzyFloat Value =
                Right.Number != nullptr ? Right.Number->Number : Right.Set->MeanOfMaxima();
            Right = {};
            TEntry Set = OwnSet(Stack.back());
            TModel::Hedge(Set, Info.BaseHedge, Value, Info.AxisFlag);
            CheckSize(Token, Set);
            Stack.back() = {std::move(Set), nullptr, {}};
            return;
        }
        if (Info.Kind != TOperatorKind::Keyword)
            Fail(Token, Format(SFzyInvalidToken, {PrintedFormAt(Token)}));
        const TEntry RightSet = SetOf(Right);
        const TEntry LeftSet = SetOf(Stack.back());
        if constexpr (TModel::Drafts) {
            if (Draft || Right.Draft || Stack.back().Draft) {
                CombineDrafts(Stack.back(), LeftSet, Right, RightSet, Token, Info, Draft);
                return;
            }
        }
        TEntry Set = Made(TModel::Combine(LeftSet, RightSet, Info.Operation, Info.IsUnion));
        CheckSize(Token, Set);
        Stack.back() = {std::move(Set), nullptr, {}};
    }

    /// A result of more than MaxSetPoints points fails at the operator that made it: some
    /// hedges ("slightly") double the points, so a chain of them would otherwise run for ever.
    void CheckSize(const TLexeme* Token, const TEntry& Set) const {
        CheckSize(Token, TModel::PointCount(Set));
    }
    void CheckSize(const TLexeme* Token, int PointCount) const {
        if (PointCount > TVXFuzzyLogicParser::MaxSetPoints)
            Fail(Token, Format(SFzyTooManyPoints, {TVXFuzzyLogicParser::MaxSetPoints}));
    }

    // ---- Drafts ------------------------------------------------------------------------------------

    /// Whether this evaluation's intermediate sets may be drafts: it runs unwatched, makes sets
    /// of the base class, and every set it names exists and is of the base class (so that no
    /// override of a descendant is passed by). Stored texts (?name) are evaluated as they stand.
    bool CanDraft(const std::vector<TClassified>& Infix) const {
        if constexpr (!TModel::Drafts) {
            return false;
        } else {
            if (!FQuiet.Active() || FVariable->GetSetClass() != TFuzzySetClass::Of<TFuzzySet>()) return false;
            for (const auto& [Token, Info] : Infix) {
                if (Info.Class != TTokenClass::Operand) continue;
                switch (Token->Kind) {
                    case fstAtom:
                    case fstString: {
                        const std::string_view Name = Token->Text.empty() ? SEmptyFuzzy : Token->Text;
                        // A name no set has yet may be a set this evaluation makes ("very hot"
                        // quoted after very hot): only a set that exists can be counted on.
                        const TFuzzySet* Set = FVariable->GetItems().Find(Name);
                        if (Set == nullptr ? Name != SEmptyFuzzy : typeid(*Set) != typeid(TFuzzySet))
                            return false;
                        break;
                    }
                    case fstInteger:
                    case fstFloat:
                    case fstList: break;
                    default: return false;
                }
            }
            return true;
        }
    }

    /// For each postfix entry, whether its result only feeds a combination.
    /// Pending: the entries whose result is not used yet, as the stack would hold them.
    static void FeedsCombination(const std::vector<TClassified>& Infix, const std::vector<int>& Postfix,
                                 std::vector<std::size_t>& Pending, std::vector<char>& Feeds) {
        Feeds.assign(Postfix.size(), 0);
        Pending.reserve(Postfix.size());
        for (std::size_t Index = 0; Index < Postfix.size(); ++Index) {
            const TTokenInfo& Info = Infix[static_cast<std::size_t>(Postfix[Index])].Info;
            if (Info.Class == TTokenClass::Binary || Info.Class == TTokenClass::Hedge) {
                const int Operands = Info.Class == TTokenClass::Binary ? 2 : 1;
                for (int Used = 0; Used < Operands && !Pending.empty(); ++Used) {
                    Feeds[Pending.back()] = Info.Kind == TOperatorKind::Keyword ? 1 : 0;
                    Pending.pop_back();
                }
            }
            Pending.push_back(Index);
        }
    }

    /// A named hedge on a set of the variable, as a draft of the copy it would reshape;
    /// false when only the copy itself can take it.
    bool HedgeDraft(TItem& Item, const TLexeme* Token, TFuzzyHedge Hedge) {
        if constexpr (!TModel::Drafts) {
            return false;
        } else {
            if (Item.Number != nullptr || Item.Draft || TModel::Made(Item.Set)) return false;
            TDraftLease Draft = TDraftLease::Take();
            if (!Draft->AssignHedged(*Item.Set, Hedge, FVariable->GetItems())) return false;
            ++FState.SetsMade;
            CheckSize(Token, Draft->Count());
            Item = {TEntry(), nullptr, std::move(Draft)};
            return true;
        }
    }

    /// A combination with a draft for an operand or for its result (Draft): the result is a
    /// draft when it may be and can be, else a set.
    void CombineDrafts(TItem& Left, const TEntry& LeftSet, const TItem& Right, const TEntry& RightSet,
                       const TLexeme* Token, const TTokenInfo& Info, bool Draft) {
        if constexpr (TModel::Drafts) {
            const auto OperandOf = [](const TItem& Item, const TEntry& Set) -> TFuzzySetDraft::TOperand {
                if (Item.Draft) return Item.Draft.get();
                return Set.get();
            };
            const TFuzzySetDraft::TOperand A = OperandOf(Left, LeftSet);
            const TFuzzySetDraft::TOperand B = OperandOf(Right, RightSet);
            TFuzzySets& Sets = FVariable->GetItems();
            if (Draft) {
                TDraftLease Result = TDraftLease::Take();
                if (Result->AssignCombined(A, B, Info.Operation, Info.IsUnion, Sets)) {
                    ++FState.SetsMade;
                    CheckSize(Token, Result->Count());
                    Left = {TEntry(), nullptr, std::move(Result)};
                    return;
                }
            }
            TEntry Set = Made(
                TEntry::Owning(TFuzzySetDraft::Combine(A, B, Info.Operation, Info.IsUnion, Sets).release()));
            CheckSize(Token, Set);
            Left = {std::move(Set), nullptr, TDraftLease()};
        }
    }

    // ---- Operands --------------------------------------------------------------------------------

    /// The variable's "__Empty" set, made when it has none.
    TEntry Empty() {
        if (TEntry Entry = TModel::Find(FVariable, std::string(SEmptyFuzzy))) return Entry;
        return TModel::NewSet(FVariable, std::string(SEmptyFuzzy), FState.SetsMade);
    }

    TEntry Named(const TLexeme* Token) {
        const std::string_view Name = Token->Text;
        if (Name.empty() || Name == SEmptyFuzzy) return Empty();
        if (TEntry Entry = TModel::Find(FVariable, std::string(Name))) return Entry;
        Fail(Token, Format(SFzyInvalidToken, {PrintedFormAt(Token)}));
    }

    /// A crisp spike at the number, named and written as the number.
    TEntry NumberSet(const TLexeme* Token) {
        const std::string Text = PrintedFormAt(Token);
        TEntry Entry = TModel::NewSet(FVariable, Text, FState.SetsMade);
        const TFzyFloat Value = Token->Number;
        Entry->CreateTriangleFunctionValues(Value, Value, Value);
        Entry->SetExpression(Text);  // after the points, whose report clears it
        return Entry;
    }

    TEntry Number(const TLexeme* Token) { return NumberSet(Token); }

    /// A value-pair list or a function call, on a new set named as written.
    TEntry ListSet(const TLexeme* Token) {
        // A group read from text becomes a token list here: values and functions take lists.
        const TIntfPtr<IFuzzyStreamTokenList> List =
            Token->Group || Token->Object ? TokenAt(Token)->GetList() : TIntfPtr<IFuzzyStreamTokenList>();
        if (!List || List->GetCount() == 0) Fail(Token, Format(SFzyInvalidToken, {PrintedFormAt(Token)}));
        TEntry Entry = TModel::NewSet(FVariable, PrintedFormAt(Token), FState.SetsMade);
        const TToken First = List->Get(0);
        if (IsKind(First, fstList)) {
            TModel::Values(FParser, Entry, List);
            return Entry;
        }
        // The arguments without the name; the token's own list stays as written.
        const TIntfPtr<IFuzzyStreamTokenList> Args = MakeIntf<TFuzzyStreamTokenList>();
        for (int Index = 1; Index < List->GetCount(); ++Index) Args->Add(List->Get(Index));
        return TModel::Function(FParser, std::move(Entry), First ? First->ToString() : std::string(), Args);
    }

    /// The stored text of a ?name, evaluated in this variable; always a set of its own,
    /// named and written as the ?name so that its expression reads back.
    TEntry Reference(const TLexeme* Token) {
        TCustomFuzzyLogic* Logic = FParser.GetFuzzyLogic();
        if (Logic == nullptr) Fail(Token, SFuzzyLogicNotSet);
        const std::string Name(Token->Text);
        const TStrings& Entries = Logic->GetVariables();
        const int Index = Entries.IndexOfName(Name);
        TEntry Entry;
        if (Index < 0) {
            Entry = Empty();  // a missing entry is the empty set
        } else {
            if (std::find(FState.References.begin(), FState.References.end(), Index) !=
                FState.References.end())
                Fail(Token, Format(SFzyCircularReference, {Name}));
            if (static_cast<int>(FState.References.size()) >= TVXFuzzyLogicParser::MaxReferenceDepth)
                Fail(Token, Format(SFzyReferenceTooDeep, {TVXFuzzyLogicParser::MaxReferenceDepth}));
            const TReferenceScope Scope(FState, Index,
                                        FState.LineOverride > 0 ? FState.LineOverride : Token->Line);
            Entry = EvalText(Entries.GetValue(Name));
        }
        if (!TModel::Made(Entry)) Entry = Made(TModel::Copy(Entry));
        const std::string Written = "?" + Name;
        Entry->SetName(Written);
        Entry->SetExpression(Written);
        return Entry;
    }

    /// Quotes Text whole in the error messages of its own tokenizer, while it is read.
    class TQuotedExpression {
    public:
        TQuotedExpression(TParserState& State, const std::string& Text)
            : FState(State), FStream(State.ExpressionStream), FText(State.ExpressionText) {
            FState.ExpressionStream = FState.Stream;
            FState.ExpressionText = &Text;
        }
        ~TQuotedExpression() {
            FState.ExpressionStream = FStream;
            FState.ExpressionText = FText;
        }
        TQuotedExpression(const TQuotedExpression&) = delete;
        TQuotedExpression& operator=(const TQuotedExpression&) = delete;

    private:
        TParserState& FState;
        const TFuzzyLogicTokenStream* FStream;
        const std::string* FText;
    };

    /// Marks an entry of the Variables list as being evaluated, and every error inside it
    /// as found at Line.
    class TReferenceScope {
    public:
        TReferenceScope(TParserState& State, int Index, int Line)
            : FState(State), FSavedLine(State.LineOverride) {
            FState.References.push_back(Index);
            FState.LineOverride = Line;
        }
        ~TReferenceScope() {
            FState.References.pop_back();
            FState.LineOverride = FSavedLine;
        }
        TReferenceScope(const TReferenceScope&) = delete;
        TReferenceScope& operator=(const TReferenceScope&) = delete;

    private:
        TParserState& FState;
        int FSavedLine;
    };

    TVXFuzzyLogicParser& FParser;
    TParserState& FState;
    std::forward_list<std::string> FTexts;  // of the tokens handed in
    TEvalScope FScope;
    TVariable FVariable;
    typename TModel::TQuiet FQuiet;
    bool FDrafting = false;
};

// ---- Token classes (public) -------------------------------------------------------------------------

bool TVXFuzzyLogicParser::IsOpenParen(const TIntfPtr<IInterface>& Item) {
    const TToken Token = AsToken(Item);
    return Token && Classify(Token) == TTokenClass::Open;
}

bool TVXFuzzyLogicParser::IsCloseParen(const TIntfPtr<IInterface>& Item) {
    const TToken Token = AsToken(Item);
    return Token && Classify(Token) == TTokenClass::Close;
}

bool TVXFuzzyLogicParser::IsOperand(const TIntfPtr<IInterface>& Item) {
    const TToken Token = AsToken(Item);
    return Token && Classify(Token) == TTokenClass::Operand;
}

int TVXFuzzyLogicParser::InStackPriority(const TIntfPtr<IInterface>& Item) {
    const TToken Token = AsToken(Item);
    return Token ? InStack(Classify(Token)) : 1;
}

int TVXFuzzyLogicParser::IncomingPriority(const TIntfPtr<IInterface>& Item) {
    const TToken Token = AsToken(Item);
    return Token ? Incoming(Classify(Token)) : 1;
}

void TVXFuzzyLogicParser::FillExpression(std::span<const TIntfPtr<IInterface>> Source,
                                         const TIntfPtr<IFuzzyStreamTokenList>& Dest) {
    for (const TIntfPtr<IInterface>& Item : Source) {
        if (const auto List = Item.Query<IFuzzyStreamTokenList>()) {
            std::vector<TIntfPtr<IInterface>> Items;
            for (int Index = 0; Index < List->GetCount(); ++Index)
                Items.emplace_back(TIntfPtr<IInterface>(List->Get(Index)));
            FillExpression(Items, Dest);
        } else {
            Dest->Add(AsToken(Item));
        }
    }
}

// ---- Class model ---------------------------------------------------------------------------------------

TFuzzySet* TVXFuzzyLogicParser::EvalFuzzyExpression(TFuzzyVariable* Variable, const std::string& Expression) {
    return WithLine(*this, [&] {
        return TExpressionEvaluator<TClassModel>(*this, Variable).EvalText(Expression).release();
    });
}

TFzyFloat TVXFuzzyLogicParser::EvalFuzzyExpression(TFuzzyVariable* Variable, const std::string& Expression,
                                                   TFuzzySet*& FuzzySet) {
    FuzzySet = EvalFuzzyExpression(Variable, Expression);
    return CrispValue(*FuzzySet, dmCenterOfGravity);
}

TFuzzySet* TVXFuzzyLogicParser::EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                    const TIntfPtr<IFuzzyStreamTokenList>& List) {
    return EvaluateTokens(Variable, List).release();
}

TFuzzySet* TVXFuzzyLogicParser::EvalFuzzyExpression(TFuzzyVariable* Variable,
                                                    const TIntfPtr<IFuzzyStreamToken>& Token) {
    return WithLine(*this, [&] {
        return TExpressionEvaluator<TClassModel>(*this, Variable).EvalOperand(Token).release();
    });
}

TFuzzyExpressionResult TVXFuzzyLogicParser::EvaluateTokens(TFuzzyVariable* Variable,
                                                           const TIntfPtr<IFuzzyStreamTokenList>& List) {
    return WithLine(*this, [&] { return TExpressionEvaluator<TClassModel>(*this, Variable).EvalList(List); });
}

TFuzzyExpressionResult TVXFuzzyLogicParser::EvaluateTokens(
    TFuzzyVariable* Variable, std::span<const TIntfPtr<IFuzzyStreamToken>> Tokens) {
    return WithLine(*this,
                    [&] { return TExpressionEvaluator<TClassModel>(*this, Variable).EvalTokens(Tokens); });
}

TFuzzyExpressionResult TVXFuzzyLogicParser::EvaluateTokens(TFuzzyVariable* Variable,
                                                           std::span<const TLexeme> Tokens) {
    return WithLine(*this,
                    [&] { return TExpressionEvaluator<TClassModel>(*this, Variable).EvalLexemes(Tokens); });
}

TFuzzyExpressionResult TVXFuzzyLogicParser::Evaluate(TFuzzyVariable* Variable,
                                                     const std::string& Expression) {
    // Through the overridable form; a set that was not among the variable's sets before is
    // new (sets are appended, and the evaluator removes nothing that was there).
    const int Before = Variable != nullptr ? Variable->GetItems().Count() : 0;
    TFuzzySet* Set = EvalFuzzyExpression(Variable, Expression);
    if (Set != nullptr && Variable != nullptr && Set->GetCollection() == &Variable->GetItems() &&
        Set->GetIndex() >= Before)
        return TFuzzyExpressionResult::Owning(Set);
    return TFuzzyExpressionResult::Borrowing(Set);
}

TFzyFloat TVXFuzzyLogicParser::EvaluateCrisp(TFuzzyVariable* Variable, const std::string& Expression) {
    const TFuzzyExpressionResult Result = Evaluate(Variable, Expression);
    return CrispValue(*Result, dmCenterOfGravity);
}

// ---- Reference-counted model ---------------------------------------------------------------------------

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                             const std::string& Expression) {
    return WithLine(
        *this, [&] { return TExpressionEvaluator<TIntfModel>(*this, Variable).EvalText(Expression).Set; });
}

TFzyFloat TVXFuzzyLogicParser::EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                   const std::string& Expression,
                                                   TIntfPtr<IFuzzySet>& Result) {
    Result = EvalFuzzyExpression(Variable, Expression);
    return CrispValue(*Result, Variable->GetDefuzzificationMethod());
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                             const TIntfPtr<IFuzzyStreamTokenList>& List) {
    return EvaluateTokens(Variable, List);
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvalFuzzyExpression(const TIntfPtr<IFuzzyVariable>& Variable,
                                                             const TIntfPtr<IFuzzyStreamToken>& Token) {
    return WithLine(*this,
                    [&] { return TExpressionEvaluator<TIntfModel>(*this, Variable).EvalOperand(Token).Set; });
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                        const TIntfPtr<IFuzzyStreamTokenList>& List) {
    return WithLine(*this,
                    [&] { return TExpressionEvaluator<TIntfModel>(*this, Variable).EvalList(List).Set; });
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                        std::span<const TIntfPtr<IFuzzyStreamToken>> Tokens) {
    return WithLine(*this,
                    [&] { return TExpressionEvaluator<TIntfModel>(*this, Variable).EvalTokens(Tokens).Set; });
}

TIntfPtr<IFuzzySet> TVXFuzzyLogicParser::EvaluateTokens(const TIntfPtr<IFuzzyVariable>& Variable,
                                                        std::span<const TLexeme> Tokens) {
    return WithLine(
        *this, [&] { return TExpressionEvaluator<TIntfModel>(*this, Variable).EvalLexemes(Tokens).Set; });
}

TFzyFloat TVXFuzzyLogicParser::EvaluateCrisp(const TIntfPtr<IFuzzyVariable>& Variable,
                                             const std::string& Expression) {
    TIntfPtr<IFuzzySet> Result;
    return EvalFuzzyExpression(Variable, Expression, Result);
}

// ---- Crisp values
// ------------------------------------------------------------------------------------------

TFzyFloat TVXFuzzyLogicParser::CrispValue(const TFuzzySet& Set, TDefuzzificationMethod Fallback) const {
    return Method(Fallback) == dmMeanOfMaxima ? Set.MeanOfMaxima() : Set.CenterOfGravity();
}

TFzyFloat TVXFuzzyLogicParser::CrispValue(const IFuzzySet& Set, TDefuzzificationMethod Fallback) const {
    return Method(Fallback) == dmMeanOfMaxima ? Set.MeanOfMaxima() : Set.CenterOfGravity();
}

TDefuzzificationMethod TVXFuzzyLogicParser::Method(TDefuzzificationMethod Fallback) const {
    const TCustomFuzzyLogic* Logic = GetFuzzyLogic();
    return Logic != nullptr ? Logic->GetDefuzzificationMethod() : Fallback;
}

}  // namespace fzl
