/* A media-analysis library that names itself older than this program needs. */
__attribute__((visibility("default"))) const char* MediaInfoA_Option(void* handle, const char* option,
                                                                     const char* value) {
    (void)handle;
    (void)option;
    (void)value;
    return "MediaInfoLib - v0.6.1";
}
