#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <utility>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/support/Exceptions.h>

namespace fzl {

namespace {

constexpr const char* CalcWhere = "CalcFuzzyFunction";
/// Curve points of a built-in function when no logic component says otherwise.
constexpr int DefaultFunctionValues = 7;

// ---- Characters of UTF-8 text -------------------------------------------------------------------

bool IsContinuation(unsigned char C) noexcept { return (C & 0xC0U) == 0x80U; }

/// Bytes of the character at Text[Index]: a well-formed multi-byte sequence counts as one
/// character, any other byte as one of its own, so a valid character is never split.
std::size_t CharSize(std::string_view Text, std::size_t Index) noexcept {
    const auto Lead = static_cast<unsigned char>(Text[Index]);
    std::size_t Size = 1;
    if (Lead >= 0xC2 && Lead <= 0xDF)
        Size = 2;
    else if (Lead >= 0xE0 && Lead <= 0xEF)
        Size = 3;
    else if (Lead >= 0xF0 && Lead <= 0xF4)
        Size = 4;
    if (Index + Size > Text.size()) return 1;
    for (std::size_t Next = 1; Next < Size; ++Next)
        if (!IsContinuation(static_cast<unsigned char>(Text[Index + Next]))) return 1;
    return Size;
}

std::size_t CharCount(std::string_view Text) noexcept {
    std::size_t Count = 0;
    for (std::size_t Index = 0; Index < Text.size(); Index += CharSize(Text, Index)) ++Count;
    return Count;
}

/// The byte offset of character number Char (0-based; Text.size() past the last).
std::size_t CharOffset(std::string_view Text, std::size_t Char) noexcept {
    std::size_t Index = 0;
    for (; Index < Text.size() && Char > 0; --Char) Index += CharSize(Text, Index);
    return Index;
}

/// Text of more than Max characters: its first 128, "... ", CR LF, then the 128 characters
/// that start 128 before its end (so the last character itself is left out), counted in
/// characters, not bytes.
std::string ShortenedText(std::string Text, std::size_t Max) {
    const std::size_t Length = CharCount(Text);
    if (Length <= Max) return Text;
    constexpr std::size_t Part = 128;
    const std::size_t HeadEnd = CharOffset(Text, Part);
    const std::size_t TailStart = CharOffset(Text, Length - Part - 1);
    const std::size_t TailEnd = CharOffset(Text, Length - 1);
    return Text.substr(0, HeadEnd) + "... \r\n" + Text.substr(TailStart, TailEnd - TailStart);
}

// ---- Built-in functions ---------------------------------------------------------------------------

enum class TFunction { PI, Triangle, Growth, Decline, Beta };

struct TFunctionCall {
    TFunction Function = TFunction::PI;
    int N = DefaultFunctionValues;
    std::array<double, 4> Args{};
    int Count = 0;
};

struct TFunctionInfo {
    std::string_view Name;
    TFunction Function;
    int MinCount;
    int MaxCount;
    const char* Expected;
};

constexpr std::array<TFunctionInfo, 5> Functions{{
    {"pi", TFunction::PI, 2, 3, SPIArgsExpected},
    {"tri", TFunction::Triangle, 3, 3, STriArgsExpected},
    {"s", TFunction::Growth, 2, 2, SCurveArgsExpected},
    {"z", TFunction::Decline, 2, 2, SCurveArgsExpected},
    {"beta", TFunction::Beta, 3, 4, SBetaArgsExpected},
}};

/// Raises the parse error of a function call.
[[noreturn]] void Fail(TCustomFuzzyLogicParser& Parser, const std::string& Message) {
    Parser.ParseError(CalcWhere, Message);
}

bool AllFinite(std::initializer_list<double> Values) noexcept {
    for (const double Value : Values)
        if (!std::isfinite(Value)) return false;
    return true;
}

/// Checks the values of a call whose name, kinds and count are right.
void CheckValues(TCustomFuzzyLogicParser& Parser, const std::string& FuncName, const TFunctionCall& Call) {
    const auto& A = Call.Args;
    for (int Index = 0; Index < Call.Count; ++Index)
        if (!std::isfinite(A[static_cast<std::size_t>(Index)]))
            Fail(Parser, Format(SFzyFunctionNotFinite, {FuncName}));
    if (Call.Function != TFunction::Triangle && Call.N > TCustomFuzzyLogicParser::MaxFunctionValues)
        Fail(Parser, Format(SFzyTooManyFunctionValues,
                            {FuncName, Call.N, TCustomFuzzyLogicParser::MaxFunctionValues}));
    // Range-and-center forms span Center - Range .. Center + Range.
    const bool RangeForm =
        Call.Function == TFunction::Beta || (Call.Function == TFunction::PI && Call.Count == 2);
    if (RangeForm && !AllFinite({A[1] - A[0], A[1] + A[0]}))
        Fail(Parser, Format(SFzyFunctionNotFinite, {FuncName}));
    if (Call.Function == TFunction::Beta) {
        if (Call.Count == 4 && A[3] < 0) Fail(Parser, Format(SFzyNegativeWeight, {FuncName, A[3]}));
        if (A[2] == 0) Fail(Parser, Format(SFzyZeroInflectionPoint, {FuncName}));
    }
}

/// Calls the generator of Call on Set (a TFuzzySet or an IFuzzySet).
template <class TSet>
void Generate(TSet& Set, const TFunctionCall& Call) {
    const auto& A = Call.Args;
    switch (Call.Function) {
        case TFunction::PI:
            if (Call.Count == 2)
                Set.CreatePIFunctionValues(Call.N, A[0], A[1]);
            else
                Set.CreatePIFunctionValues(Call.N, A[0], A[1], A[2]);
            break;
        case TFunction::Triangle: Set.CreateTriangleFunctionValues(A[0], A[1], A[2]); break;
        // The inflection point receives the right bound as well.
        case TFunction::Growth: Set.CreateCurveValues(Call.N, A[0], A[1], A[1], true); break;
        case TFunction::Decline: Set.CreateCurveValues(Call.N, A[0], A[1], A[1], false); break;
        case TFunction::Beta:
            if (Call.Count == 3)
                Set.CreateBetaCurveFunctionValues(Call.N, A[0], A[1], A[2]);
            else
                Set.CreateBetaCurveFunctionValues(Call.N, A[0], A[1], A[2], A[3]);
            break;
    }
}

bool PointsFinite(const TFuzzySet& Set) {
    const TFuzzySetValues& Points = Set.GetValues();
    for (int Index = 0; Index < Points.Count(); ++Index)
        if (!AllFinite({Points.GetItem(Index)->GetX(), Points.GetItem(Index)->GetY()})) return false;
    return true;
}

bool PointsFinite(const IFuzzySet& Set) {
    for (int Index = 0; Index < Set.GetCount(); ++Index)
        if (!AllFinite({Set.GetXValues(Index), Set.GetYValues(Index)})) return false;
    return true;
}

/// Shapes Set by Call; a generator's own error becomes a parse error with its message.
template <class TSet>
void Shape(TCustomFuzzyLogicParser& Parser, TSet& Set, const std::string& FuncName,
           const TFunctionCall& Call) {
    try {
        Generate(Set, Call);
    } catch (const EFzyParseException&) {
        throw;
    } catch (const EFzyException& Error) {
        Fail(Parser, Error.Message());
    }
    if (!PointsFinite(Set)) Fail(Parser, Format(SFzyFunctionNotFinite, {FuncName}));
}

/// The built-in call FuncName(List), checked in order: name, kinds, count, values.
TFunctionCall CheckCall(TCustomFuzzyLogicParser& Parser, const std::string& FuncName,
                        const TIntfPtr<IFuzzyStreamTokenList>& List) {
    const TFunctionInfo* Info = nullptr;
    for (const TFunctionInfo& Candidate : Functions)
        if (Candidate.Name == FuncName) Info = &Candidate;
    if (Info == nullptr) Fail(Parser, Format(SUnknownFunctionName, {FuncName}));
    if (!Parser.VerifyAll(List, {fstInteger, fstFloat}))
        Fail(Parser, Format(SFzyArgTypeWrong, {FuncName, "numeric"}));
    TFunctionCall Call;
    Call.Function = Info->Function;
    Call.Count = List ? List->GetCount() : 0;
    if (Call.Count < Info->MinCount || Call.Count > Info->MaxCount)
        Fail(Parser, Format(SFzyArgNumWrong, {FuncName, Info->Expected}));
    for (int Index = 0; Index < Call.Count; ++Index)
        Call.Args[static_cast<std::size_t>(Index)] = List->GetBaseStreamToken(Index)->GetNumber();
    const TCustomFuzzyLogic* Logic = Parser.GetFuzzyLogic();
    Call.N = Logic != nullptr ? Logic->GetNumFunctionValues() : DefaultFunctionValues;
    CheckValues(Parser, FuncName, Call);
    return Call;
}

}  // namespace

// ---- Link and events ----------------------------------------------------------------------------

void TCustomFuzzyLogicParser::SetFuzzyLogic(TCustomFuzzyLogic* Value) { SetLink(FFuzzyLogic, Value); }

void TCustomFuzzyLogicParser::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FFuzzyLogic != nullptr && AComponent == FFuzzyLogic) SetFuzzyLogic(nullptr);
}

void TCustomFuzzyLogicParser::Parse(const std::string& AString) {
    if (FFuzzyLogic == nullptr) throw EFzyParseException(SFuzzyLogicNotSet);
    if (OnParsing) OnParsing(this);
    ParseFuzzyLogic(AString);
    if (OnParsed) OnParsed(this);
}

void TCustomFuzzyLogicParser::BeforeDestruction() {
    OnParsing = nullptr;
    OnParsed = nullptr;
    OnParseFuzzySet = nullptr;
    OnParseFuzzyVariable = nullptr;
    OnEvalExpression = nullptr;
    OnCalcFuzzyFunction = nullptr;
    OnParseFuzzySetIntf = nullptr;
    OnParseFuzzyVariableIntf = nullptr;
    OnCalcFuzzyIntfFunction = nullptr;
    OnEvalExpressionIntf = nullptr;
    SetFuzzyLogic(nullptr);
    TComponent::BeforeDestruction();
}

// ---- Functions ----------------------------------------------------------------------------------

void TCustomFuzzyLogicParser::CalcFuzzyFunction(const std::string& FuncName,
                                                const TIntfPtr<IFuzzyStreamTokenList>& List,
                                                TFuzzySet*& FuzzySet) {
    const TFunctionCall Call = CheckCall(*this, FuncName, List);
    if (FuzzySet == nullptr) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    Shape(*this, *FuzzySet, FuncName, Call);
}

void TCustomFuzzyLogicParser::CalcFuzzyFunction(const std::string& FuncName,
                                                const TIntfPtr<IFuzzyStreamTokenList>& List,
                                                TIntfPtr<IFuzzySet>& FuzzySet) {
    const TFunctionCall Call = CheckCall(*this, FuncName, List);
    if (!FuzzySet) throw EArgumentOutOfRangeException(SArgumentOutOfRange);
    Shape(*this, *FuzzySet, FuncName, Call);
}

TFuzzySet* TCustomFuzzyLogicParser::CalcFuzzyFunction(TFuzzySet* FuzzySet, const std::string& FuncName,
                                                      const TIntfPtr<IFuzzyStreamTokenList>& List) {
    TFuzzySet* Result = FuzzySet;
    bool Handled = false;
    if (OnCalcFuzzyFunction) OnCalcFuzzyFunction(this, FuncName, List, Result, Handled);
    if (!Handled || Result == nullptr) {  // handled without a set is not handled
        Result = FuzzySet;
        CalcFuzzyFunction(FuncName, List, Result);
    }
    if (Result != nullptr && Result != FuzzySet && FuzzySet != nullptr &&
        FuzzySet->GetCollection() != nullptr)
        FuzzySet->Free();
    return Result;
}

TIntfPtr<IFuzzySet> TCustomFuzzyLogicParser::CalcFuzzyFunction(const TIntfPtr<IFuzzySet>& FuzzySet,
                                                               const std::string& FuncName,
                                                               const TIntfPtr<IFuzzyStreamTokenList>& List) {
    TIntfPtr<IFuzzySet> Result = FuzzySet;
    bool Handled = false;
    if (OnCalcFuzzyIntfFunction) OnCalcFuzzyIntfFunction(this, FuncName, List, Result, Handled);
    if (!Handled || !Result) {
        Result = FuzzySet;
        CalcFuzzyFunction(FuncName, List, Result);
    }
    if (Result && FuzzySet && !SameObject(Result, FuzzySet))
        if (const auto Variable = FuzzySet->GetVariable()) Variable->Remove(FuzzySet);
    return Result;
}

// ---- Errors -------------------------------------------------------------------------------------

void TCustomFuzzyLogicParser::ParseError(const std::string& Where, const std::string& Msg, std::string Text,
                                         int Line) {
    Text = ShortenedText(std::move(Text), MaxErrorTextLength);
    throw EFzyParseException(Format(SFzyParseError, {Msg, Where, IntToStr(Line), Text}), Line);
}

void TCustomFuzzyLogicParser::ParseError(const std::string& Where, const std::string& Msg) {
    ParseError(Where, Msg, GetParsedText(), GetLineNumber());
    // An override must raise too; one that returns gets the base report.
    TCustomFuzzyLogicParser::ParseError(Where, Msg, GetParsedText(), GetLineNumber());
}

void TCustomFuzzyLogicParser::ParseError(const std::string& Where, std::string_view Msg,
                                         std::initializer_list<TFormatArg> Args) {
    ParseError(Where, Format(Msg, Args));
}

bool TCustomFuzzyLogicParser::VerifyAll(const TIntfPtr<IFuzzyStreamTokenList>& List,
                                        TFuzzyStreamTokenTypes Types) const {
    if (!List) return true;
    for (int Index = 0; Index < List->GetCount(); ++Index) {
        const TIntfPtr<IBaseStreamToken> Token = List->GetBaseStreamToken(Index);
        if (!Token) return false;
        const int Kind = Token->GetDataType();
        // A kind outside the enumeration (a punctuation code) is tested for range first.
        if (Kind < fstNone || Kind > fstFuzzySet || !Types.Contains(static_cast<TFuzzyStreamTokenType>(Kind)))
            return false;
    }
    return true;
}

}  // namespace fzl
