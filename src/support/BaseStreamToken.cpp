#include <cmath>

#include <fzl/support/BaseStreamToken.h>

namespace fzl {

std::string NumberTokenText(int DataType, double Number) {
    // Integers print without a fraction as long as the value is one (a caller may store any double).
    if (DataType == btInteger && std::trunc(Number) == Number && std::fabs(Number) < 0x1p63)
        return IntToStr(static_cast<std::int64_t>(Number));
    return FloatToStr(Number);
}

}  // namespace fzl
