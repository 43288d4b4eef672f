#pragma once
// Objects that can copy themselves from one another.

#include <fzl/support/Object.h>

namespace fzl {

class TPropertyList;

/// An object with Assign/AssignTo. Assign(Source) asks Source to AssignTo this
/// object; a pair that does not know each other raises EConvertError.
class TPersistent : public TObject {
public:
    /// Copies Source into this object.
    virtual void Assign(const TPersistent& Source);
    /// Copies this object into Dest; the fallback of Assign.
    virtual void AssignTo(TPersistent& Dest) const;
    /// The object that owns this one in the framework's ownership tree, if any.
    [[nodiscard]] virtual TPersistent* GetOwner() const { return nullptr; }
    /// Lists the object's streamed properties (see PropertyList.h); overrides list their
    /// base's first. A persistent object without properties lists none.
    virtual void DefineProperties(TPropertyList& /*Properties*/) {}

    [[nodiscard]] std::string ClassName() const override { return "TPersistent"; }

protected:
    ~TPersistent() override = default;
};

}  // namespace fzl
