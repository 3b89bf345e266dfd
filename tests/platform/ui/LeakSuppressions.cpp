// Libraries under Qt keep a few allocations for the life of the process (font
// and bus caches); they are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\nleak:libglib-2.0.so\n";
}
