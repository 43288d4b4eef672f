#include <string_view>
#include <utility>

#include <fzl/support/TextStream.h>

namespace fzl {

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// A blank or control character that does not end a line.
bool IsInLineBlank(char C) noexcept { return static_cast<unsigned char>(C) <= ' ' && C != '\r' && C != '\n'; }
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
    // The run of in-line blanks is taken in one piece, and the byte after it is looked at
    // in place: this runs before every token. The reader is left as byte-by-byte reading
    // would leave it (nothing to put back, unless the line end just read).
    const std::size_t RunStart = FPosition;
    while (FPosition < FText.size() && IsInLineBlank(FText[FPosition])) ++FPosition;
    if (Into != nullptr && FPosition > RunStart) Into->append(FText.data() + RunStart, FPosition - RunStart);
    FCanPutBack = false;
    if (FPosition >= FText.size() || static_cast<unsigned char>(FText[FPosition]) > ' ') return false;
    TakeLineEnd(Into);
    return true;
}

void TGTextStream::TakeLineEnd(std::string* Into) {
    char LineEnd = '\0';
    (void)GetChar(LineEnd);  // the caller saw it there
    std::string Discarded;
    CompleteLineEnd(LineEnd, Into != nullptr ? *Into : Discarded);
}

void TGTextStream::CompleteLineEnd(char C, std::string& Into) {
    Into += C;
    if (C == '\r' && NextIs('\n')) {
        ++FPosition;
        Into += '\n';
    }
}

}  // namespace fzl
