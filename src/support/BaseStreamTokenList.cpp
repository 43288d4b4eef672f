#include <fzl/support/BaseStreamTokenList.h>

namespace fzl::Detail {

int& TTokenListPrintDepth::Depth() noexcept {
    thread_local int Value = 0;
    return Value;
}

}  // namespace fzl::Detail
