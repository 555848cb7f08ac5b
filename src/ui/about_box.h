#pragma once
// The About box (dialog template 100): the program's name, version, maker and rights, all
// fixed texts of the template, and OK. It holds no values.

#include "ui/control_ids.h"
#include "ui/dialog_model.h"

namespace tamvel {

/// The About box's model.
inline DialogModel AboutBox() { return DialogModel(kDialogAbout); }

}  // namespace tamvel
