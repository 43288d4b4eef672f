#include <fzl/support/Persistent.h>
#include <fzl/support/PropertySnapshot.h>

namespace fzl {

TPropertySnapshot::TPropertySnapshot(TPersistent& Object) {
    Object.DefineProperties(FProperties);
    FValues.reserve(FProperties.Items().size());
    for (const TPropertyInfo& Info : FProperties.Items()) {
        switch (Info.Kind) {
            case TPropertyKind::Boolean:
            case TPropertyKind::Integer:
            case TPropertyKind::Enumeration: FValues.emplace_back(Info.GetOrdinal(Info.Object)); break;
            case TPropertyKind::Float: FValues.emplace_back(Info.GetFloat(Info.Object)); break;
            case TPropertyKind::String: FValues.emplace_back(Info.GetString(Info.Object)); break;
            case TPropertyKind::Strings: {
                TOwned<TStringList> Copy = Make<TStringList>();
                Copy->Assign(Info.GetStrings(Info.Object));
                FValues.emplace_back(std::move(Copy));
                break;
            }
            case TPropertyKind::Collection:
            case TPropertyKind::Object:
            case TPropertyKind::Legacy: FValues.emplace_back(std::int64_t{0}); break;
        }
    }
}

void TPropertySnapshot::Restore() const {
    for (std::size_t Index = 0; Index < FValues.size(); ++Index) {
        const TPropertyInfo& Info = FProperties.Items()[Index];
        const TValue& Value = FValues[Index];
        switch (Info.Kind) {
            case TPropertyKind::Boolean:
            case TPropertyKind::Integer:
            case TPropertyKind::Enumeration:
                Info.SetOrdinal(Info.Object, std::get<std::int64_t>(Value));
                break;
            case TPropertyKind::Float: Info.SetFloat(Info.Object, std::get<double>(Value)); break;
            case TPropertyKind::String: Info.SetString(Info.Object, std::get<std::string>(Value)); break;
            case TPropertyKind::Strings:
                Info.SetStrings(Info.Object, *std::get<TOwned<TStringList>>(Value));
                break;
            case TPropertyKind::Collection:
            case TPropertyKind::Object:
            case TPropertyKind::Legacy: break;
        }
    }
}

void TPropertySnapshot::ResetToNew(TPersistent& Object) {
    TPropertyList Properties;
    Object.DefineProperties(Properties);
    const TOwned<TStringList> Empty = Make<TStringList>();
    for (const TPropertyInfo& Info : Properties.Items()) {
        switch (Info.Kind) {
            case TPropertyKind::Boolean:
            case TPropertyKind::Integer:
            case TPropertyKind::Enumeration: Info.SetOrdinal(Info.Object, Info.OrdinalDefault); break;
            case TPropertyKind::Float: Info.SetFloat(Info.Object, Info.FloatDefault); break;
            case TPropertyKind::String: Info.SetString(Info.Object, std::string()); break;
            case TPropertyKind::Strings: Info.SetStrings(Info.Object, *Empty); break;
            case TPropertyKind::Collection:
            case TPropertyKind::Object:
            case TPropertyKind::Legacy: break;
        }
    }
}

}  // namespace fzl
