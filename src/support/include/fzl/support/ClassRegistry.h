#pragma once
// The classes a stream reader can create by name: the class references of the
// collection items a stream states the class of (sets, variables, and the
// descendants an application registers).

#include <optional>
#include <string>
#include <string_view>

#include <fzl/support/Collection.h>

namespace fzl {

/// Makes Class known to stream readers under the name its objects give as ClassName()
/// (found by creating one detached object, which is freed at once). Registering a name
/// again replaces the class registered under it. Register before reading streams, from
/// one thread: readers only look the registry up.
void RegisterClass(TCollectionItemClass Class);
/// Registers the class T (a collection item class).
template <class T>
void RegisterClass() {
    RegisterClass(TItemClass<TCollectionItem>::Of<T>());
}
/// The class registered under Name, if any.
[[nodiscard]] std::optional<TCollectionItemClass> FindClass(std::string_view Name);

}  // namespace fzl
