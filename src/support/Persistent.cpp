#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/Persistent.h>

namespace fzl {

void TPersistent::Assign(const TPersistent& Source) { Source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& Dest) const {
    throw EConvertError(Format(SAssignError, {ClassName(), Dest.ClassName()}));
}

}  // namespace fzl
