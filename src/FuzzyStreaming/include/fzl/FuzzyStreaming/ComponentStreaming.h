#pragma once
// Saving and loading a logic component of either model as text (the component
// stream, see ComponentStream.h for its form): the host keeps the text where it
// likes; the library reads and writes no files.
//
// What is streamed: the published properties of the component (Name, Tag, the
// settings, Variables and Strings) and, in the class model, its variables with
// their sets and points, each with its class. The reference-counted component
// streams its definition text only and rebuilds its variables by parsing it when
// loading completes. Not streamed: event handlers, the parser link and the class
// references a component was given; a host sets them on the component it loads
// into, before loading (the parser of a reference-counted component must be linked
// both ways by then).

#include <string>
#include <string_view>

#include <fzl/FuzzyLogic/FuzzyLogic.h>

namespace fzl {

/// The stream text of Component. A stale definition text is regenerated through the
/// parser first; without a parser, the class model leaves the text out (a loaded
/// component then marks it stale) and the reference-counted model raises EFzyException
/// "Parser not assigned.  Cannot parse", its text being its model.
[[nodiscard]] std::string SaveComponent(TCustomFuzzyLogic& Component);

/// Loads Text, the stream of a component of Component's class, into Component: its
/// properties are assigned through their setters in the stream's order while it is
/// loading, then Loaded runs once; stored points are not regenerated and no event of
/// the component fires. Objects of the classes the stream states are created (register
/// an application's own with RegisterClass). Anything the stream or a setter refuses
/// raises EFzyParseException "Parsing Error, <what> in LoadComponent at line <n>:
/// "<line>"" with the stream's line; so does a parse error of a reference-counted
/// component's text (with the line of that text), and a missing parser raises as
/// Parse does. On any error the component is left exactly as it was.
void LoadComponent(std::string_view Text, TCustomFuzzyLogic& Component);

/// The class of the component Text is the stream of ("TFuzzyLogic"), or "" when Text
/// does not begin like a component stream (a definition text, say).
[[nodiscard]] std::string StreamClassName(std::string_view Text);

}  // namespace fzl
