#include <utility>
#include <vector>

#include <fzl/VXGenerics/StringHashTable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/Interfaced.h>

namespace fzl {
namespace {

/// Walks a private copy of the strings, so it never depends on their source.
class TStringIterator final : public TInterfaced<TObject, IStringIterator> {
public:
    explicit TStringIterator(std::vector<std::string> Strings) : FStrings(std::move(Strings)) {}

    void Reset() override { FPosition = 0; }
    [[nodiscard]] bool HasMoreElements() const override { return FPosition < Count(); }
    std::string NextElement() override {
        if (!HasMoreElements()) throw EListError(Format(SListIndexError, {FPosition}));
        return FStrings[static_cast<std::size_t>(FPosition++)];
    }
    [[nodiscard]] std::string CurrentElement() const override {
        return FPosition == 0 ? std::string{} : FStrings[static_cast<std::size_t>(FPosition - 1)];
    }
    [[nodiscard]] int Count() const override { return static_cast<int>(FStrings.size()); }
    [[nodiscard]] std::string ClassName() const override { return "TStringIterator"; }

private:
    std::vector<std::string> FStrings;
    int FPosition = 0;  // the number of strings handed out
};

}  // namespace

TIntfPtr<IStringIterator> MakeStringIterator(std::vector<std::string> Strings) {
    return MakeIntf<TStringIterator>(std::move(Strings));
}

}  // namespace fzl
