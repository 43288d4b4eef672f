#pragma once
// PostFix: infix to postfix order by operator priorities (the shunting-yard method),
// for any item type; the caller classifies the items.

#include <span>
#include <vector>

#include <fzl/support/FunctionRef.h>

namespace fzl {

/// Classifies an item of PostFix's input.
template <class T>
using TPostFixTest = TFunctionRef<bool(const T& Item)>;
/// Gives an operator's priority; a smaller number binds tighter.
template <class T>
using TPostFixPriority = TFunctionRef<int(const T& Item)>;

/// The items of Infix in postfix order. Operands go out in order; an open bracket is
/// stacked; a close bracket unstacks down to its open bracket and both are dropped;
/// any other item (an operator) first unstacks every operator above the nearest open
/// bracket whose InStackPriority is at most its IncomingPriority, then is stacked; what
/// is left is unstacked at the end. Unstacking an operator of equal priority groups
/// operators of one level from the left: "a and b or c" is "(a and b) or c". Brackets
/// that do not pair up reach the output, so that the caller can report them: a close
/// bracket without its open bracket where it stands, an open bracket never closed with
/// the rest at the end. T is given explicitly: PostFix<TIntfPtr<IFuzzyStreamToken>>(...).
template <class T>
[[nodiscard]] std::vector<T> PostFix(std::span<const T> Infix, TPostFixTest<T> IsOpenParen,
                                     TPostFixTest<T> IsCloseParen, TPostFixTest<T> IsOperand,
                                     TPostFixPriority<T> InStackPriority,
                                     TPostFixPriority<T> IncomingPriority) {
    std::vector<T> Output;
    std::vector<T> Stack;
    Output.reserve(Infix.size());
    for (const T& Item : Infix) {
        if (IsOperand(Item)) {
            Output.push_back(Item);
        } else if (IsOpenParen(Item)) {
            Stack.push_back(Item);
        } else if (IsCloseParen(Item)) {
            while (!Stack.empty() && !IsOpenParen(Stack.back())) {
                Output.push_back(Stack.back());
                Stack.pop_back();
            }
            if (Stack.empty())
                Output.push_back(Item);  // unmatched: left for the caller to report
            else
                Stack.pop_back();
        } else {
            const int Incoming = IncomingPriority(Item);
            while (!Stack.empty() && !IsOpenParen(Stack.back()) &&
                   InStackPriority(Stack.back()) <= Incoming) {
                Output.push_back(Stack.back());
                Stack.pop_back();
            }
            Stack.push_back(Item);
        }
    }
    while (!Stack.empty()) {
        Output.push_back(Stack.back());
        Stack.pop_back();
    }
    return Output;
}

}  // namespace fzl
