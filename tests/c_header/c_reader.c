/* Placeholder replaced below. */
int zev_placeholder;
