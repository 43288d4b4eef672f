#include <cstddef>

#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/support/Format.h>

namespace fzl {

namespace {

// Brackets a name that contains a blank so that it reads back as one operand
// of an expression. Only the blank (U+0020) counts, not other white space.
void AppendBracketed(std::string& Result, std::string_view Name) {
    const bool Bracket = Name.find(' ') != std::string_view::npos;
    if (Bracket) Result += LeftFuzzyParentheses;
    Result += Name;
    if (Bracket) Result += RightFuzzyParentheses;
}

// Room for a name, its brackets and Extra more characters.
std::string NameBuffer(std::size_t Extra) {
    std::string Result;
    Result.reserve(Extra + 2);
    return Result;
}

// Index of S in Table, or -1.
template <class TTable>
int IndexOf(const TTable& Table, std::string_view S) {
    for (std::size_t I = 0; I < Table.size(); ++I)
        if (Table[I] == S) return static_cast<int>(I);
    return -1;
}

}  // namespace

std::string CreateFuzzyName(TFuzzyHedge Hedge, std::string_view Name) {
    std::string Result = NameBuffer(HedgeNames[Hedge].size() + 1 + Name.size());
    Result += HedgeNames[Hedge];
    Result += ' ';
    AppendBracketed(Result, Name);
    return Result;
}

std::string CreateFuzzyName(TBaseFuzzyHedge Hedge, bool AxisFlag, std::string_view Name) {
    std::string Result = NameBuffer(BaseHedgeNames[Hedge].size() + 2 + Name.size());
    Result += BaseHedgeNames[Hedge];
    Result += AxisFlag ? " " : "X ";
    AppendBracketed(Result, Name);
    return Result;
}

std::string CreateFuzzyName(std::string_view FirstName, std::string_view SecondName,
                            std::string_view Operation) {
    std::string Result = NameBuffer(FirstName.size() + Operation.size() + SecondName.size() + 4);
    AppendBracketed(Result, FirstName);
    Result += ' ';
    Result += Operation;
    Result += ' ';
    AppendBracketed(Result, SecondName);
    return Result;
}

std::string CreateFuzzyName(std::string_view Name, std::string_view Operation, TFzyFloat Value) {
    // The text "%s %s %.4f" gives, without parsing a pattern on every derived name.
    const std::string Number = FormatFixed(Value, 4);
    std::string Result = NameBuffer(Name.size() + Operation.size() + Number.size() + 2);
    AppendBracketed(Result, Name);
    Result += ' ';
    Result += Operation;
    Result += ' ';
    Result += Number;
    return Result;
}

std::string FormatFuzzyExpression(std::string_view S) {
    std::string T = Trim(S);
    if (T.find(' ') == std::string::npos) return T;

    const auto Wrapped = [S] {
        std::string Result(LeftFuzzyParentheses);
        Result += S;
        Result += RightFuzzyParentheses;
        return Result;
    };
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
                if (Depth == 0 && I + 1 < T.size()) return Wrapped();
            }
        }
        return T;
    }
    return Wrapped();
}

bool IsFuzzyHedge(std::string_view S) { return IndexOf(HedgeNames, S) >= 0; }

bool IsFuzzyHedge(std::string_view S, TFuzzyHedge& Hedge) {
    const int Index = IndexOf(HedgeNames, S);
    if (Index < 0) return false;
    Hedge = static_cast<TFuzzyHedge>(Index);
    return true;
}

bool IsFuzzyHedgeOperator(std::string_view S) {
    TBaseFuzzyHedge Hedge{};
    bool AxisFlag = false;
    return IsFuzzyHedgeOperator(S, Hedge, AxisFlag);
}

bool IsFuzzyHedgeOperator(std::string_view S, TBaseFuzzyHedge& Hedge, bool& AxisFlag) {
    for (std::size_t I = 0; I < BaseHedgeNames.size(); ++I) {
        const std::string_view Symbol = BaseHedgeNames[I];
        const bool Plain = S == Symbol;
        if (Plain || (S.size() == Symbol.size() + 1 && S.starts_with(Symbol) && S.back() == 'X')) {
            Hedge = static_cast<TBaseFuzzyHedge>(I);
            AxisFlag = Plain;
            return true;
        }
    }
    return false;
}

bool IsFuzzyKeyword(std::string_view S, bool& IsUnion, TFuzzyOperation& Operation) {
    IsUnion = true;
    for (std::size_t I = 0; I < FuzzyIntersectionKeywords.size(); ++I) {
        if (S == FuzzyIntersectionKeywords[I]) {
            IsUnion = false;
            Operation = static_cast<TFuzzyOperation>(I);
            return true;
        }
        if (S == FuzzyUnionKeywords[I]) {
            Operation = static_cast<TFuzzyOperation>(I);
            return true;
        }
    }
    return false;
}

bool IsFuzzyOperation(std::string_view S, TFuzzyOperation& Operation) {
    const int Index = IndexOf(FuzzyOperationNames, S);
    if (Index < 0) return false;
    Operation = static_cast<TFuzzyOperation>(Index);
    return true;
}

bool IsFuzzyCorrelation(std::string_view S, TFuzzyCorrelationMethod& Method) {
    const int Index = IndexOf(FuzzyCorrelationNames, S);
    if (Index < 0) return false;
    Method = static_cast<TFuzzyCorrelationMethod>(Index);
    return true;
}

bool IsFuzzyInference(std::string_view S, TFuzzyInferenceMethod& Method) {
    const int Index = IndexOf(FuzzyInferenceNames, S);
    if (Index < 0) return false;
    Method = static_cast<TFuzzyInferenceMethod>(Index);
    return true;
}

}  // namespace fzl
