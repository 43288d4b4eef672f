#include <string_view>
#include <utility>

#include <fzl/support/TextStream.h>

namespace fzl {

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

TGTextStream::TGTextStream(std::string Text) : FText(std::move(Text)) {
    if (std::string_view(FText).starts_with(ByteOrderMark)) FPosition = ByteOrderMark.size();
}

bool TGTextStream::PutBack() noexcept {
    if (!FCanPutBack || FPosition == 0) return false;
    --FPosition;
    FCanPutBack = false;
    return true;
}

std::string TGTextStream::GetLine() {
    std::string Line;
    ReadLine(Line);
    return Line;
}

bool TGTextStream::SkipInLineSpaces() { return SkipBlanks(nullptr); }

bool TGTextStream::ReadLine(std::string& Line) {
    char C = '\0';
    while (GetChar(C)) {
        if (C == '\n') return true;
        if (C == '\r') {
            if (NextIs('\n')) ++FPosition;
            return true;
        }
        Line += C;
    }
    return false;
}

bool TGTextStream::SkipBlanks(std::string* Into) {
    char C = '\0';
    while (GetChar(C)) {
        if (static_cast<unsigned char>(C) > ' ') {
            PutBack();
            return false;
        }
        if (C == '\r' || C == '\n') {
            std::string LineEnd;
            CompleteLineEnd(C, LineEnd);
            if (Into != nullptr) *Into += LineEnd;
            return true;
        }
        if (Into != nullptr) *Into += C;
    }
    return false;
}

void TGTextStream::CompleteLineEnd(char C, std::string& Into) {
    Into += C;
    if (C == '\r' && NextIs('\n')) {
        ++FPosition;
        Into += '\n';
    }
}

}  // namespace fzl
