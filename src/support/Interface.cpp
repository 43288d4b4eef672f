#include <array>
#include <atomic>

#include <fzl/support/Interface.h>
#include <fzl/support/Interfaced.h>

namespace fzl {
namespace {

std::atomic<std::int64_t> GLiveRefCountedObjects{0};

void AppendHex(std::string& Text, std::uint64_t Value, int Digits) {
    static constexpr std::array<char, 16> Hex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                 '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    for (int Shift = (Digits - 1) * 4; Shift >= 0; Shift -= 4)
        Text += Hex[static_cast<std::size_t>((Value >> static_cast<unsigned>(Shift)) & 0xFU)];
}

}  // namespace

std::string TGUID::ToString() const {
    std::string Text = "{";
    AppendHex(Text, D1, 8);
    Text += '-';
    AppendHex(Text, D2, 4);
    Text += '-';
    AppendHex(Text, D3, 4);
    Text += '-';
    AppendHex(Text, D4[0], 2);
    AppendHex(Text, D4[1], 2);
    Text += '-';
    for (std::size_t I = 2; I < D4.size(); ++I) AppendHex(Text, D4[I], 2);
    Text += '}';
    return Text;
}

std::int64_t LiveRefCountedObjects() noexcept {
    return GLiveRefCountedObjects.load(std::memory_order_relaxed);
}

namespace Detail {
void CountObjectCreated() noexcept { GLiveRefCountedObjects.fetch_add(1, std::memory_order_relaxed); }
void CountObjectDestroyed() noexcept { GLiveRefCountedObjects.fetch_sub(1, std::memory_order_relaxed); }
}  // namespace Detail

}  // namespace fzl
