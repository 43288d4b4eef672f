#pragma once
// TVXStringStream: a string that is read and written at a movable position.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include <fzl/support/Object.h>

namespace fzl {

/// A UTF-8 string with a read/write position. Writing overwrites from the position on
/// and extends the string at its end.
class TVXStringStream : public TObject {
public:
    /// A stream holding Data, positioned at its start.
    explicit TVXStringStream(std::string Data = {}) : FData(std::move(Data)) {}

    /// The whole text, whatever the position.
    [[nodiscard]] const std::string& GetDataString() const noexcept { return FData; }
    [[nodiscard]] std::size_t GetSize() const noexcept { return FData.size(); }
    /// Cuts or extends (with blanks) the text to Value bytes; the position stays inside.
    void SetSize(std::size_t Value);
    [[nodiscard]] std::size_t GetPosition() const noexcept { return FPosition; }
    /// Moves the position; a position beyond the end goes to the end.
    void SetPosition(std::size_t Value) noexcept { FPosition = Value < FData.size() ? Value : FData.size(); }

    /// Writes Text at the position (overwriting) and moves the position past it.
    void WriteString(std::string_view Text);
    /// Reads up to Count bytes from the position and moves the position past them.
    [[nodiscard]] std::string ReadString(std::size_t Count);

    [[nodiscard]] std::string ClassName() const override { return "TVXStringStream"; }

protected:
    ~TVXStringStream() override = default;

private:
    std::string FData;
    std::size_t FPosition = 0;
};

}  // namespace fzl
