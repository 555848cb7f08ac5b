#pragma once
// Shows a dialog model with its template: the controls of the model are found in the
// template by id, filled from the model, and read back into it; buttons run the model's
// handlers, OK its validation. An edit refuses typing beyond its limit in CP932 bytes.

#include <wx/window.h>

#include "ui/dialog_model.h"

namespace tamvel {

/// Runs `model` modally, owned by `parent`: kDialogOk or kDialogCancel.
int ShowModelDialog(wxWindow* parent, DialogModel& model);

}  // namespace tamvel
