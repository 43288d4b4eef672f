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

TEST(FuzzyInterfaces, IdentifiersAreFixedAndDistinct) {
    const std::set<std::string> Identifiers = {
        IInterface::IID.ToString(),           ICloneable::IID.ToString(),
        IStringIterator::IID.ToString(),      IBaseStreamToken::IID.ToString(),
        IBaseStreamTokenList::IID.ToString(), IFuzzySet::IID.ToString(),
        IFuzzyVariable::IID.ToString(),       IFuzzyParser::IID.ToString(),
        IFuzzyStreamToken::IID.ToString(),    IFuzzyStreamTokenList::IID.ToString()};
    EXPECT_EQ(Identifiers.size(), 10U);
    EXPECT_EQ(IFuzzySet::IID.ToString(), "{810BD8EA-60BE-44A0-B947-A38B7691A7AE}");
    EXPECT_EQ(IFuzzyVariable::IID.ToString(), "{5DFA4DF2-B274-48A1-A49E-D99C760B726A}");
}

}  // namespace
}  // namespace fzl
