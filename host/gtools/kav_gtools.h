#pragma once

// The whole dialog toolkit in one include.
#include "gtools/kav_dialog_responder.h"
#include "gtools/kav_dialogs.h"
#include "gtools/kav_edit_name_dialog.h"
#include "gtools/kav_error_messages.h"
