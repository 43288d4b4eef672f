#include <gtest/gtest.h>

#include <set>
#include <string>

#include <fzl/FuzzyInterfaces/IFuzzyParser.h>
#include <fzl/FuzzyInterfaces/IFuzzySet.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamToken.h>
#include <fzl/FuzzyInterfaces/IFuzzyStreamTokenList.h>
#include <fzl/FuzzyInterfaces/IFuzzyVariable.h>
#include <fzl/support/StringIterator.h>

namespace fzl {
namespace {

TEST(FuzzyInterfaces, IdentifiersAreDistinct) {
    const std::set<std::string> Identifiers = {
        IInterface::IID.ToString(),           ICloneable::IID.ToString(),
        IStringIterator::IID.ToString(),      IBaseStreamToken::IID.ToString(),
        IBaseStreamTokenList::IID.ToString(), IFuzzySet::IID.ToString(),
        IFuzzyVariable::IID.ToString(),       IFuzzyParser::IID.ToString(),
        IFuzzyStreamToken::IID.ToString(),    IFuzzyStreamTokenList::IID.ToString()};
    EXPECT_EQ(Identifiers.size(), 10U);
}

}  // namespace
}  // namespace fzl
