#include "support/Persistent.h"

#include "support/Exceptions.h"
#include "support/Format.h"

namespace fzl {

void TPersistent::Assign(const TPersistent& Source) { Source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& Dest) const {
    throw EConvertError(Format(SAssignError, {ClassName(), Dest.ClassName()}));
}

}  // namespace fzl
