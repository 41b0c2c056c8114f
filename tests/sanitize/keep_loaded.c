/* Preloaded into the processes of the sanitizer run: libraries stay loaded
   until the process ends, so that a leak report can still name the library a
   leaked block came from (the GL driver is unloaded when the display closes,
   and its blocks would otherwise show no library to match a suppression). */
int dlclose(void* handle) {
    (void)handle;
    return 0;
}
