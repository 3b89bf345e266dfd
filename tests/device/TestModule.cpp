// A library with one entry point and none of the display services' ones, for the
// run-time loading tests.
extern "C" __attribute__((visibility("default"))) int LoupixTestEntry() { return 42; }
