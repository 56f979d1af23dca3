#include "dialogs/dialogs_state.h"

#include "dialogs/about_box.h"
#include "dialogs/controls_window.h"
#include "dialogs/option_window.h"

namespace dalvo {

DialogsState::DialogsState() = default;
DialogsState::~DialogsState() = default;

}  // namespace dalvo
