#include <algorithm>
#include <utility>
#include <vector>

#include <fzl/support/ClassRegistry.h>

namespace fzl {

namespace {

using TRegistry = std::vector<std::pair<std::string, TCollectionItemClass>>;

TRegistry& Registry() {
    static TRegistry Classes;
    return Classes;
}

}  // namespace

void RegisterClass(TCollectionItemClass Class) {
    std::string Name;
    {
        TOwned<TCollectionItem> Probe(Class.Create(nullptr));
        Name = Probe->ClassName();
    }
    TRegistry& Classes = Registry();
    const auto Found =
        std::find_if(Classes.begin(), Classes.end(), [&](const auto& Entry) { return Entry.first == Name; });
    if (Found != Classes.end())
        Found->second = Class;
    else
        Classes.emplace_back(std::move(Name), Class);
}

std::optional<TCollectionItemClass> FindClass(std::string_view Name) {
    const TRegistry& Classes = Registry();
    const auto Found =
        std::find_if(Classes.begin(), Classes.end(), [&](const auto& Entry) { return Entry.first == Name; });
    if (Found == Classes.end()) return std::nullopt;
    return Found->second;
}

}  // namespace fzl
