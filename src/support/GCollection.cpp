#include <fzl/support/GCollection.h>

namespace fzl {

int TGCollection::IndexOf(std::string_view Name) const {
    for (const TCollectionItem* Item : RawItems()) {
        const auto* Named = dynamic_cast<const TGCollectionItem*>(Item);
        if (Named != nullptr && Named->HasName(Name)) return Item->GetIndex();
    }
    return -1;
}

}  // namespace fzl
