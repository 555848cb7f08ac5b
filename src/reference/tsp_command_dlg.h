#pragma once
// The TSP command reference, dialog 135: the OK button above list box 1068, which holds the
// command list in its fixed order. The dialog reads and writes nothing; selecting or
// double-clicking a line does nothing, OK and Escape close it. Each opening starts afresh.

#include "ui/dialog_model.h"
#include "ui/ui.h"

namespace tamvel {

/// The list box of the reference dialog.
inline constexpr int kIdCommandListBox = 1068;

class CTspCommandDlg {
  public:
    CTspCommandDlg();

    /// Shows the dialog modally until OK or Escape; kDialogOk or kDialogCancel.
    int DoModal(Person& person);

    /// The dialog's controls as it opens.
    const DialogModel& Model() const { return m_model; }

  private:
    /// Fills the list box with the command list, line by line in order.
    void OnInitDialog();

    DialogModel m_model;
};

}  // namespace tamvel
