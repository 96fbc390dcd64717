// The settings dialog: one window at a time with the input method, the
// learning switch and the Smart Mandarin options. OK saves the settings
// file (an error dialog keeps the window open when saving fails), Cancel
// and the window manager's close discard the changes, and "clear learned
// data" only creates the reset marker that the next session start acts
// on. The confirmation and error dialogs are modal and answer through
// their response signal, so no call blocks the host.
#pragma once

typedef struct _GtkWidget GtkWidget;

namespace ferrolune::frontend {

// Opens the dialog, or presents it when it is already open.
void open_settings_dialog();

// The open dialog, or null.
GtkWidget* settings_dialog();

}  // namespace ferrolune::frontend
