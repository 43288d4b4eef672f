#pragma once
// Rules as text, one a line:
//     IF variable IS expression {AND variable IS expression} THEN variable IS expression
// The capitalised words are the separators (the expression language keeps its own
// lower-case keywords, so "IF t IS warm and not humid THEN ..." has one premise);
// ";" starts a comment that runs to the end of the line; blank lines are skipped.

#include <string>
#include <vector>

namespace fzl {

/// "variable IS expression": a premise or a conclusion.
struct TFuzzyClause {
    std::string Variable;
    std::string Expression;
};

/// One rule as read: its premises (all must hold: they are joined by the minimum),
/// its conclusion, the line it stands on (from 1) and its text without the comment.
struct TFuzzyRule {
    std::vector<TFuzzyClause> Premises;
    TFuzzyClause Conclusion;
    int Line = 0;
    std::string Text;
};

/// Reads every rule of Text. A malformed rule raises EFzyParseException in the library's
/// text-error form ("Parsing Error, ... in ParseRule at line N: "rule"") with its line.
/// Lines end at LF, CR LF or a lone CR.
[[nodiscard]] std::vector<TFuzzyRule> ReadFuzzyRules(const std::string& Text);

}  // namespace fzl
