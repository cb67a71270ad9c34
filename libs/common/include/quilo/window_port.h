/* A "window handle" that crosses the C ABI of the run-time libraries.
 *
 * The libraries never know about Qt: they post numbered notifications through
 * this port, and the program side turns each post into an event for the
 * receiving window, delivered in order on the window's thread. */
#ifndef QUILO_WINDOW_PORT_H
#define QUILO_WINDOW_PORT_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QuiloWindowPort {
    /* Must be safe to call from any thread and must not block. */
    void (*post)(void* context, unsigned int message, long wparam, long lparam);
    void* context;
} QuiloWindowPort;

static inline void quilo_window_port_post(const QuiloWindowPort* port, unsigned int message, long wparam,
                                          long lparam) {
    if (port && port->post)
        port->post(port->context, message, wparam, lparam);
}

#ifdef __cplusplus
}
#endif

#endif
