/* A media-analysis library that names itself older than this program needs. */
static int handle;

__attribute__((visibility("default"))) void* MediaInfoA_New(void) {
    return &handle;
}

__attribute__((visibility("default"))) void MediaInfoA_Delete(void* which) {
    (void)which;
}

__attribute__((visibility("default"))) const char* MediaInfoA_Option(void* which, const char* option,
                                                                     const char* value) {
    (void)which;
    (void)option;
    (void)value;
    return "MediaInfoLib - v0.6.1";
}
