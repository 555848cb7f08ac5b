#include "reference/tsp_command_dlg.h"

#include <span>
#include <string>
#include <vector>

#include "reference/tsp_command_list.h"
#include "ui/control_ids.h"

namespace tamvel {

CTspCommandDlg::CTspCommandDlg() : m_model(kDialogReference) { OnInitDialog(); }

void CTspCommandDlg::OnInitDialog() {
    const std::span<const std::string> lines = TspCommandLines();
    m_model.AddList(kIdCommandListBox, std::vector<std::string>(lines.begin(), lines.end()));
}

int CTspCommandDlg::DoModal(Person& person) { return person.RunDialog(m_model); }

}  // namespace tamvel
