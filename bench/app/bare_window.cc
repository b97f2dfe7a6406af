// The anchor for the start-up figure: the smallest GTK 3 window of the same
// size, so a slow machine shows as a slow anchor too.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Anchor");
  gtk_window_set_default_size(GTK_WINDOW(window), 580, 354);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
