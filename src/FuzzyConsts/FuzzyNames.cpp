#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/support/Format.h>

namespace fzl {

namespace {

bool HasBlank(std::string_view Name) noexcept { return Name.find(' ') != std::string_view::npos; }

// Brackets a name that contains a blank so that it reads back as one operand
// of an expression. Only the blank (U+0020) counts, not other white space.
void AppendBracketed(std::string& Result, std::string_view Name, bool Bracket) {
    if (Bracket) Result += LeftFuzzyParentheses;
    Result += Name;
    if (Bracket) Result += RightFuzzyParentheses;
}

void AppendBracketed(std::string& Result, std::string_view Name) {
    AppendBracketed(Result, Name, HasBlank(Name));
}

// Room for a name, its brackets and Extra more characters.
std::string NameBuffer(std::size_t Extra) {
    std::string Result;
    Result.reserve(Extra + 2);
    return Result;
}

/// The bit of a length in a mask of lengths: 63 stands for 63 and more.
constexpr std::uint64_t LengthBit(std::size_t Length) noexcept {
    return std::uint64_t{1} << std::min<std::size_t>(Length, 63);
}

/// For each character that starts an entry of Table, the lengths of those entries (with
/// Suffixed, one more as well, for the form with a letter appended). Every token of an
/// expression and every set name is tried against the keyword tables; most are set names,
/// which this rejects at their first character or their length.
template <std::size_t N>
constexpr std::array<std::uint64_t, 256> FirstCharacters(const std::array<std::string_view, N>& Table,
                                                         bool Suffixed = false) {
    std::array<std::uint64_t, 256> Starts{};
    for (const std::string_view Entry : Table) {
        std::uint64_t& Lengths = Starts[static_cast<unsigned char>(Entry.front())];
        Lengths |= LengthBit(Entry.size());
        if (Suffixed) Lengths |= LengthBit(Entry.size() + 1);
    }
    return Starts;
}

bool MayStart(const std::array<std::uint64_t, 256>& Starts, std::string_view S) noexcept {
    return !S.empty() && (Starts[static_cast<unsigned char>(S.front())] & LengthBit(S.size())) != 0;
}

constexpr auto HedgeStarts = FirstCharacters(HedgeNames);
constexpr auto BaseHedgeStarts = FirstCharacters(BaseHedgeNames, true);
constexpr auto IntersectionStarts = FirstCharacters(FuzzyIntersectionKeywords);
constexpr auto UnionStarts = FirstCharacters(FuzzyUnionKeywords);

}  // namespace

std::string CreateFuzzyName(TFuzzyHedge Hedge, std::string_view Name) {
    std::string Result = NameBuffer(HedgeNames[Hedge].size() + 1 + Name.size());
    AppendFuzzyName(Result, Hedge, Name);
    return Result;
}

std::string CreateFuzzyName(TBaseFuzzyHedge Hedge, bool AxisFlag, std::string_view Name) {
    std::string Result = NameBuffer(BaseHedgeNames[Hedge].size() + 2 + Name.size());
    AppendFuzzyName(Result, Hedge, AxisFlag, Name);
    return Result;
}

std::string CreateFuzzyName(std::string_view FirstName, std::string_view SecondName,
                            std::string_view Operation) {
    std::string Result = NameBuffer(FirstName.size() + Operation.size() + SecondName.size() + 4);
    AppendFuzzyName(Result, FirstName, SecondName, Operation);
    return Result;
}

std::string CreateFuzzyName(std::string_view Name, std::string_view Operation, TFzyFloat Value) {
    std::string Result = NameBuffer(Name.size() + Operation.size() + 16);
    AppendFuzzyName(Result, Name, Operation, Value);
    return Result;
}

void AppendFuzzyName(std::string& Result, TFuzzyHedge Hedge, std::string_view Name) {
    Result += HedgeNames[Hedge];
    Result += ' ';
    AppendBracketed(Result, Name);
}

void AppendFuzzyName(std::string& Result, TBaseFuzzyHedge Hedge, bool AxisFlag, std::string_view Name) {
    Result += BaseHedgeNames[Hedge];
    Result += AxisFlag ? " " : "X ";
    AppendBracketed(Result, Name);
}

void AppendFuzzyName(std::string& Result, std::string_view FirstName, std::string_view SecondName,
                     std::string_view Operation) {
    AppendBracketed(Result, FirstName);
    Result += ' ';
    Result += Operation;
    Result += ' ';
    AppendBracketed(Result, SecondName);
}

// The text "%s %s %.4f" gives, without parsing a pattern on every derived name.
void AppendFuzzyName(std::string& Result, std::string_view Name, std::string_view Operation,
                     TFzyFloat Value) {
    AppendBracketed(Result, Name);
    Result += ' ';
    Result += Operation;
    Result += ' ';
    AppendFormatFixed(Result, Value, 4);
}

std::string FormatFuzzyExpression(std::string_view S) {
    std::string Result = NameBuffer(S.size());
    AppendFuzzyExpression(Result, S);
    return Result;
}

namespace {

// What FormatFuzzyExpression(S) writes: Text, bracketed when Wrap.
struct TExpressionUnit {
    std::string_view Text;
    bool Wrap;
};

TExpressionUnit ExpressionUnit(std::string_view S) noexcept {
    const std::string_view T = TrimView(S);
    if (!HasBlank(T)) return {T, false};
    const char Left = LeftFuzzyParentheses.front();
    const char Right = RightFuzzyParentheses.front();
    if (T.size() > 2 && T.front() == Left && T.back() == Right) {
        // Already one unit only if the leading bracket closes at the very end:
        // "[a] [b]" starts and ends with brackets but is two units.
        int Depth = 1;
        for (std::size_t I = 1; I < T.size(); ++I) {
            if (T[I] == Left) {
                ++Depth;
            } else if (T[I] == Right) {
                --Depth;
                if (Depth == 0 && I + 1 < T.size()) return {S, true};
            }
        }
        return {T, false};
    }
    return {S, true};
}

}  // namespace

// Expressions grow as rules accumulate, so the text is copied once, into the result.
void AppendFuzzyExpression(std::string& Result, std::string_view S) {
    const TExpressionUnit Unit = ExpressionUnit(S);
    AppendBracketed(Result, Unit.Text, Unit.Wrap);
}

void AppendFuzzyExpression(std::string& Result, std::string_view First, std::string_view Operation,
                           std::string_view Second) {
    const TExpressionUnit FirstUnit = ExpressionUnit(First);
    const TExpressionUnit SecondUnit = ExpressionUnit(Second);
    AppendBracketed(Result, FirstUnit.Text, FirstUnit.Wrap);
    Result += ' ';
    Result += Operation;
    Result += ' ';
    AppendBracketed(Result, SecondUnit.Text, SecondUnit.Wrap);
}

bool IsFuzzyHedge(std::string_view S) {
    TFuzzyHedge Hedge{};
    return IsFuzzyHedge(S, Hedge);
}

bool IsFuzzyHedge(std::string_view S, TFuzzyHedge& Hedge) {
    return MayStart(HedgeStarts, S) && FindKeyword(HedgeNames, S, Hedge);
}

bool IsFuzzyHedgeOperator(std::string_view S) {
    TBaseFuzzyHedge Hedge{};
    bool AxisFlag = false;
    return IsFuzzyHedgeOperator(S, Hedge, AxisFlag);
}

bool IsFuzzyHedgeOperator(std::string_view S, TBaseFuzzyHedge& Hedge, bool& AxisFlag) {
    if (!MayStart(BaseHedgeStarts, S)) return false;
    if (FindKeyword(BaseHedgeNames, S, Hedge)) {
        AxisFlag = true;
        return true;
    }
    // The X form: the symbol with "X" appended.
    if (!S.ends_with('X') || !FindKeyword(BaseHedgeNames, S.substr(0, S.size() - 1), Hedge)) return false;
    AxisFlag = false;
    return true;
}

bool IsFuzzyKeyword(std::string_view S, bool& IsUnion, TFuzzyOperation& Operation) {
    IsUnion = !(MayStart(IntersectionStarts, S) && FindKeyword(FuzzyIntersectionKeywords, S, Operation));
    return !IsUnion || (MayStart(UnionStarts, S) && FindKeyword(FuzzyUnionKeywords, S, Operation));
}

bool IsFuzzyOperation(std::string_view S, TFuzzyOperation& Operation) {
    return FindKeyword(FuzzyOperationNames, S, Operation);
}

bool IsFuzzyCorrelation(std::string_view S, TFuzzyCorrelationMethod& Method) {
    return FindKeyword(FuzzyCorrelationNames, S, Method);
}

bool IsFuzzyInference(std::string_view S, TFuzzyInferenceMethod& Method) {
    return FindKeyword(FuzzyInferenceNames, S, Method);
}

}  // namespace fzl
