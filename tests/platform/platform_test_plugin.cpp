// A run-time library for the loader tests.
extern "C" __attribute__((visibility("default"))) int plugin_answer() {
    return 42;
}
