#pragma once
// TGTextStream: the character source under the tokenizer. It holds its text by
// value (UTF-8; a leading byte-order mark is skipped) and reads it byte by byte:
// every delimiter of the language is ASCII, so the bytes of other characters
// simply pass through into words and strings.

#include <cstddef>
#include <string>
#include <string_view>

#include <fzl/support/Object.h>

namespace fzl {

/// Reads a text byte by byte with one byte of put-back, line reading and an end test.
/// It counts no lines itself: which line ends count is the reader's business.
class TGTextStream : public TObject {
public:
    /// A stream over Text (UTF-8); a leading byte-order mark (EF BB BF) is skipped.
    explicit TGTextStream(std::string Text);

    /// Reads the next byte into C; false, and C unchanged, at the end of the text.
    bool GetChar(char& C) noexcept {
        if (FPosition >= FText.size()) {
            FCanPutBack = false;
            return false;
        }
        C = FText[FPosition++];
        FCanPutBack = true;
        return true;
    }
    /// The next byte, or '\0' at the end. A NUL in the text reads the same, so readers
    /// that must tell them apart use the other form.
    [[nodiscard]] char GetChar() noexcept {
        char C = '\0';
        return GetChar(C) ? C : '\0';
    }
    /// Returns the byte read last to the input. Only a byte actually read goes back, and
    /// only once: false, and nothing changes, after a failed read or a second put-back.
    bool PutBack() noexcept;
    /// True when the next byte is C (nothing is consumed).
    [[nodiscard]] bool NextIs(char C) const noexcept {
        return FPosition < FText.size() && FText[FPosition] == C;
    }
    /// True when every byte has been read.
    [[nodiscard]] bool IsEof() const noexcept { return FPosition >= FText.size(); }
    /// Bytes read so far (the skipped byte-order mark included).
    [[nodiscard]] std::size_t GetPosition() const noexcept { return FPosition; }

    /// The rest of the current line without its line end (LF, CR LF or a lone CR),
    /// which is consumed. At the end of the text: "" and nothing consumed.
    virtual std::string GetLine();
    /// Skips blanks and control characters up to and including one line end; true when
    /// a line end was consumed.
    virtual bool SkipInLineSpaces();

    [[nodiscard]] std::string ClassName() const override { return "TGTextStream"; }

protected:
    ~TGTextStream() override = default;

    /// Reads the rest of the line into Line (appending); true when a line end was consumed.
    bool ReadLine(std::string& Line);
    /// SkipInLineSpaces, appending every byte it consumes to Into (when not null).
    bool SkipBlanks(std::string* Into);
    /// C (just read) is CR or LF: appends it to Into and, for a CR followed by LF, reads
    /// and appends the LF too, so that CR LF is one line end.
    void CompleteLineEnd(char C, std::string& Into);
    /// The bytes not read yet, for readers that take a run of them at once.
    [[nodiscard]] std::string_view Unread() const noexcept {
        return std::string_view(FText).substr(FPosition);
    }
    /// The whole text, for readers that keep views into it (valid as long as the stream).
    [[nodiscard]] std::string_view Input() const noexcept { return FText; }
    /// Reads the next Count bytes (at most Unread().size()) in one step; none of them can be put back.
    void Consume(std::size_t Count) noexcept {
        FPosition += Count;
        FCanPutBack = false;
    }

private:
    /// Reads the line end that comes next (CR LF as one), appending it to Into when not null.
    void TakeLineEnd(std::string* Into);

    std::string FText;
    std::size_t FPosition = 0;
    bool FCanPutBack = false;
};

}  // namespace fzl
