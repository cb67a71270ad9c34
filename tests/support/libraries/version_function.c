/* The version function of a run-time library, answering the version this
 * program was built for plus QUILO_VERSION_OFFSET. The build names the
 * library's header, its version function and its version macro. */
#include QUILO_LIBRARY_HEADER

__attribute__((visibility("default"))) int QUILO_VERSION_FUNCTION(void) {
    return QUILO_LIBRARY_VERSION + QUILO_VERSION_OFFSET;
}
