#include "Json.h"

#include <cmath>

#include <fzl/support/Format.h>

namespace fzl::tool {
namespace {

/// The length of the well-formed UTF-8 sequence starting at S[I], or 0.
std::size_t Utf8Length(std::string_view S, std::size_t I) {
    const auto Byte = [&](std::size_t K) { return static_cast<unsigned char>(S[K]); };
    const unsigned char Lead = Byte(I);
    std::size_t Length = 0;
    unsigned char Low = 0x80;
    unsigned char High = 0xBF;
    if (Lead >= 0xC2 && Lead <= 0xDF)
        Length = 2;
    else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        if (Lead == 0xE0) Low = 0xA0;
        if (Lead == 0xED) High = 0x9F;  // no surrogates
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        if (Lead == 0xF0) Low = 0x90;
        if (Lead == 0xF4) High = 0x8F;
    }
    if (Length == 0 || I + Length > S.size()) return 0;
    if (Byte(I + 1) < Low || Byte(I + 1) > High) return 0;
    for (std::size_t K = 2; K < Length; ++K)
        if (Byte(I + K) < 0x80 || Byte(I + K) > 0xBF) return 0;
    return Length;
}

}  // namespace

std::string JsonString(std::string_view S) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string Out = "\"";
    for (std::size_t I = 0; I < S.size();) {
        const auto C = static_cast<unsigned char>(S[I]);
        if (C >= 0x80) {
            const std::size_t Length = Utf8Length(S, I);
            if (Length == 0) {
                Out += "\\ufffd";
                ++I;
            } else {
                Out.append(S.substr(I, Length));
                I += Length;
            }
            continue;
        }
        if (C == '"')
            Out += "\\\"";
        else if (C == '\\')
            Out += "\\\\";
        else if (C == '\n')
            Out += "\\n";
        else if (C == '\r')
            Out += "\\r";
        else if (C == '\t')
            Out += "\\t";
        else if (C < 0x20)
            (Out += "\\u00") += std::string{Hex[C >> 4], Hex[C & 15]};
        else
            Out += static_cast<char>(C);
        ++I;
    }
    return Out + "\"";
}

std::string JsonNumber(double Value) { return std::isfinite(Value) ? FloatToStr(Value) : "null"; }

std::string JsonPoints(const std::vector<std::pair<double, double>>& Points) {
    std::string Out = "[";
    for (const auto& [X, Y] : Points) {
        if (Out.size() > 1) Out += ",";
        Out += "[";
        Out += JsonNumber(X);
        Out += ",";
        Out += JsonNumber(Y);
        Out += "]";
    }
    return Out + "]";
}

}  // namespace fzl::tool
