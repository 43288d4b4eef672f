#include <algorithm>

#include <fzl/support/Collection.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/StringList.h>

namespace fzl {

bool TPropertyInfo::IsDefault() const {
    switch (Kind) {
        case TPropertyKind::Boolean:
        case TPropertyKind::Integer:
        case TPropertyKind::Enumeration: return HasDefault && GetOrdinal(Object) == OrdinalDefault;
        case TPropertyKind::Float: return HasDefault && GetFloat(Object) == FloatDefault;
        case TPropertyKind::String: return HasDefault && GetString(Object).empty();
        case TPropertyKind::Strings: return GetStrings(Object).Count() == 0;
        case TPropertyKind::Collection:
        case TPropertyKind::Object:
        case TPropertyKind::Legacy: return false;
    }
    return false;
}

const TPropertyInfo* TPropertyList::Find(std::string_view Name) const noexcept {
    const auto Found = std::find_if(FItems.begin(), FItems.end(),
                                    [&](const TPropertyInfo& Info) { return Info.Name == Name; });
    return Found == FItems.end() ? nullptr : &*Found;
}

void TPropertyList::Collection(std::string_view Name, TCollection& Items, bool ItemClassStated,
                               void (*ItemRead)(TCollectionItem&)) {
    TPropertyInfo& Info = Add(Base(Name, TPropertyKind::Collection, &Items));
    Info.ItemClassStated = ItemClassStated;
    Info.ItemRead = ItemRead;
    Info.GetCollection = [](void* O) -> TCollection& { return *static_cast<TCollection*>(O); };
}

void TPropertyList::Object(std::string_view Name, TPersistent& Object) {
    TPropertyInfo& Info = Add(Base(Name, TPropertyKind::Object, &Object));
    Info.GetObject = [](void* O) -> TPersistent& { return *static_cast<TPersistent*>(O); };
}

}  // namespace fzl
