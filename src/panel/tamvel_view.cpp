#include "panel/tamvel_view.h"

// Placeholder: the control panel's logic is being written.
namespace tamvel {
CTamvelView::CTamvelView(Ui& ui, FileSystem& fileSystem) : m_ui(ui), m_fileSystem(fileSystem) {}
void CTamvelView::OnInitialUpdate() {}
void CTamvelView::OnDestroy() {}
bool CTamvelView::IsButtonEnabled(int) const { return true; }
void CTamvelView::OnCommand(int) {}
void CTamvelView::OnFieldChanged(int) {}
}  // namespace tamvel
