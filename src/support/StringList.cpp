#include <algorithm>

#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/StringList.h>

namespace fzl {
namespace {

char LowerAscii(char C) noexcept { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

}  // namespace

int TStrings::AddObject(std::string S, TObject* Object) {
    FItems.push_back({std::move(S), Object});
    return Count() - 1;
}

void TStrings::Delete(int Index) {
    static_cast<void>(GetString(Index));
    FItems.erase(FItems.begin() + Index);
}

const std::string& TStrings::GetString(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
    return FItems[static_cast<std::size_t>(Index)].String;
}

void TStrings::SetString(int Index, std::string S) {
    static_cast<void>(GetString(Index));
    FItems[static_cast<std::size_t>(Index)].String = std::move(S);
}

TObject* TStrings::GetObject(int Index) const {
    static_cast<void>(GetString(Index));
    return FItems[static_cast<std::size_t>(Index)].Object;
}

int TStrings::IndexOf(std::string_view S) const {
    for (int Index = 0; Index < Count(); ++Index)
        if (SameText(FItems[static_cast<std::size_t>(Index)].String, S)) return Index;
    return -1;
}

std::string TStrings::GetText() const {
    std::string Text;
    for (const TItem& Item : FItems) {
        Text += Item.String;
        Text += '\n';
    }
    return Text;
}

void TStrings::SetText(std::string_view Text) {
    FItems.clear();
    std::size_t Start = 0;
    while (Start < Text.size()) {
        const std::size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string_view::npos) {
            Add(std::string(Text.substr(Start)));
            break;
        }
        Add(std::string(Text.substr(Start, End - Start)));
        Start = End + 1;
        if (Text[End] == '\r' && Start < Text.size() && Text[Start] == '\n') ++Start;
    }
}

int TStrings::IndexOfName(std::string_view Name) const {
    for (int Index = 0; Index < Count(); ++Index) {
        const std::string& Line = FItems[static_cast<std::size_t>(Index)].String;
        const std::size_t Equals = Line.find('=');
        if (Equals != std::string::npos && SameText(std::string_view(Line).substr(0, Equals), Name))
            return Index;
    }
    return -1;
}

std::string TStrings::GetName(int Index) const {
    const std::string& Line = GetString(Index);
    const std::size_t Equals = Line.find('=');
    return Equals == std::string::npos ? std::string{} : Line.substr(0, Equals);
}

std::string TStrings::GetValue(std::string_view Name) const {
    const int Index = IndexOfName(Name);
    if (Index < 0) return {};
    const std::string& Line = FItems[static_cast<std::size_t>(Index)].String;
    return Line.substr(Line.find('=') + 1);
}

void TStrings::SetValue(std::string_view Name, std::string_view Value) {
    const int Index = IndexOfName(Name);
    if (Value.empty()) {
        if (Index >= 0) Delete(Index);
        return;
    }
    std::string Line = std::string(Name) + "=" + std::string(Value);
    if (Index >= 0)
        FItems[static_cast<std::size_t>(Index)].String = std::move(Line);
    else
        Add(std::move(Line));
}

void TStrings::Assign(const TPersistent& Source) {
    if (const auto* Other = dynamic_cast<const TStrings*>(&Source)) {
        if (Other != this) FItems = Other->FItems;
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::SameText(std::string_view A, std::string_view B) const noexcept {
    if (FCaseSensitive) return A == B;
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                              [](char X, char Y) { return LowerAscii(X) == LowerAscii(Y); });
}

}  // namespace fzl
