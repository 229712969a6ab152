#include "framework/win/update_ui.h"

#include "framework/win/wnd.h"

namespace TWIG4 {

void SendUpdateUI(Wnd* owner, int commandId, UpdateUIRecord* record) {
    if (!owner || !owner->GetHandle() || !record) return;
    ::SendMessageW(owner->GetHandle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(commandId), kUpdateUICode),
                   reinterpret_cast<LPARAM>(record));
}

}  // namespace TWIG4
