// Finding widgets the way a person sees them: top-level windows by title
// or type, and descendants by type, label text or button label.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace ferrolune::test {

std::vector<GtkWidget*> descendants(GtkWidget* root);
GtkWidget* toplevel_titled(const std::string& title);
int toplevels_titled(const std::string& title);
// The visible message dialog, or null.
GtkWidget* visible_message_dialog();
std::string message_text(GtkWidget* message);
GtkWidget* button_labelled(GtkWidget* root, const std::string& label);
// Runs pending GTK events.
void drain_events();

}  // namespace ferrolune::test
