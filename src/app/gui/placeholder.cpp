// placeholder
int zev_gui_placeholder;
