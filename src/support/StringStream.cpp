#include <algorithm>

#include <fzl/support/StringStream.h>

namespace fzl {

void TVXStringStream::SetSize(std::size_t Value) {
    FData.resize(Value, ' ');
    FPosition = std::min(FPosition, Value);
}

void TVXStringStream::WriteString(std::string_view Text) {
    const std::size_t Overlap = std::min(Text.size(), FData.size() - FPosition);
    FData.replace(FPosition, Overlap, Text);
    FPosition += Text.size();
}

std::string TVXStringStream::ReadString(std::size_t Count) {
    std::string Result = FData.substr(FPosition, Count);
    FPosition += Result.size();
    return Result;
}

}  // namespace fzl
