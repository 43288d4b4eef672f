#include <cstddef>
#include <string_view>

#include <fzl/FuzzyRules/FuzzyRule.h>
#include <fzl/FuzzyRules/RuleMessages.h>

#include "internal/RuleError.h"

namespace fzl {
namespace {

constexpr std::string_view SeparatorIf = "IF";
constexpr std::string_view SeparatorIs = "IS";
constexpr std::string_view SeparatorAnd = "AND";
constexpr std::string_view SeparatorThen = "THEN";

bool IsBlank(char C) noexcept { return static_cast<unsigned char>(C) <= ' '; }

/// A word of a rule line and where it starts and ends in the line.
struct TWord {
    std::string_view Text;
    std::size_t Begin;
    std::size_t End;
};

std::vector<TWord> SplitWords(std::string_view Line) {
    std::vector<TWord> Words;
    std::size_t I = 0;
    while (I < Line.size()) {
        while (I < Line.size() && IsBlank(Line[I])) ++I;
        const std::size_t Begin = I;
        while (I < Line.size() && !IsBlank(Line[I])) ++I;
        if (I > Begin) Words.push_back({Line.substr(Begin, I - Begin), Begin, I});
    }
    return Words;
}

bool IsSeparator(std::string_view Word) noexcept {
    return Word == SeparatorIf || Word == SeparatorIs || Word == SeparatorAnd || Word == SeparatorThen;
}

/// Reads the clauses of one rule line (without its comment, trimmed, not empty).
class TRuleLineReader {
public:
    TRuleLineReader(std::string_view Line, int LineNumber)
        : FLine(Line), FWords(SplitWords(Line)), FLineNumber(LineNumber) {}

    TFuzzyRule Read() {
        TFuzzyRule Rule;
        Rule.Line = FLineNumber;
        Rule.Text = std::string(FLine);
        if (FWords.front().Text != SeparatorIf) Fail(SFzyRuleExpectedIf);
        FNext = 1;
        do {
            Rule.Premises.push_back(ReadClause());
        } while (Accept(SeparatorAnd));
        if (!Accept(SeparatorThen)) {
            // A clause's expression runs to the next AND or THEN, so only the end is left here.
            Fail(SFzyRuleMissingThen);
        }
        Rule.Conclusion = ReadClause();
        if (FNext < FWords.size()) Fail(Format(SFzyRuleOneConclusion, {std::string(FWords[FNext].Text)}));
        return Rule;
    }

private:
    [[noreturn]] void Fail(const std::string& Message) const {
        rules::RaiseRuleError(Message, FLineNumber, std::string(FLine));
    }

    bool Accept(std::string_view Separator) {
        if (FNext < FWords.size() && FWords[FNext].Text == Separator) {
            ++FNext;
            return true;
        }
        return false;
    }

    std::string Current() const {
        return FNext < FWords.size() ? std::string(FWords[FNext].Text) : std::string();
    }

    /// variable IS expression, the expression running to the next AND, THEN or the end.
    TFuzzyClause ReadClause() {
        TFuzzyClause Clause;
        if (FNext >= FWords.size() || IsSeparator(FWords[FNext].Text))
            Fail(Format(SFzyRuleMissingVariable, {Current()}));
        Clause.Variable = std::string(FWords[FNext++].Text);
        if (!Accept(SeparatorIs)) Fail(Format(SFzyRuleExpectedIs, {Clause.Variable}));
        const std::size_t First = FNext;
        while (FNext < FWords.size() && FWords[FNext].Text != SeparatorAnd &&
               FWords[FNext].Text != SeparatorThen)
            ++FNext;
        if (FNext == First) Fail(Format(SFzyRuleMissingExpression, {Clause.Variable}));
        Clause.Expression =
            std::string(FLine.substr(FWords[First].Begin, FWords[FNext - 1].End - FWords[First].Begin));
        return Clause;
    }

    std::string_view FLine;
    std::vector<TWord> FWords;
    int FLineNumber;
    std::size_t FNext = 0;
};

/// The length of the line starting at Begin and the length of its line end (0 at the text's end).
std::pair<std::size_t, std::size_t> NextLine(std::string_view Text, std::size_t Begin) {
    std::size_t End = Begin;
    while (End < Text.size() && Text[End] != '\n' && Text[End] != '\r') ++End;
    std::size_t Break = 0;
    if (End < Text.size())
        Break = (Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n') ? 2 : 1;
    return {End - Begin, Break};
}

}  // namespace

std::vector<TFuzzyRule> ReadFuzzyRules(const std::string& Text) {
    std::vector<TFuzzyRule> Rules;
    const std::string_view All(Text);
    std::size_t Begin = 0;
    for (int LineNumber = 1; Begin < All.size() || LineNumber == 1; ++LineNumber) {
        const auto [Length, Break] = NextLine(All, Begin);
        std::string_view Line = All.substr(Begin, Length);
        Line = Line.substr(0, Line.find(';'));
        Line = TrimView(Line);
        if (!Line.empty()) Rules.push_back(TRuleLineReader(Line, LineNumber).Read());
        Begin += Length + Break;
        if (Break == 0) break;
    }
    return Rules;
}

namespace rules {

std::string ParticularMessage(const std::string& Message) {
    constexpr std::string_view Prefix = "Parsing Error, ";
    if (!Message.starts_with(Prefix)) return Message;
    // The first " in <Where> at line <digits>: "" ends the particular message.
    for (std::size_t In = Message.find(" in ", Prefix.size()); In != std::string::npos;
         In = Message.find(" in ", In + 1)) {
        std::size_t I = In + 4;
        const std::size_t WhereBegin = I;
        while (I < Message.size() && Message[I] != ' ') ++I;
        if (I == WhereBegin || Message.compare(I, 9, " at line ") != 0) continue;
        I += 9;
        const std::size_t Digits = I;
        while (I < Message.size() && Message[I] >= '0' && Message[I] <= '9') ++I;
        if (I > Digits && Message.compare(I, 3, ": \"") == 0)
            return Message.substr(Prefix.size(), In - Prefix.size());
    }
    return Message;
}

}  // namespace rules
}  // namespace fzl
