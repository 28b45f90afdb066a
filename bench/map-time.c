/* jornada-bench-maptime: starts a program and measures the time until the X server maps its
 * first top-level window, then ends the program.
 *
 *   jornada-bench-maptime [-t SECONDS] [-n TITLE] PROGRAM [ARGUMENTS...]
 *
 * Prints the milliseconds on standard output. The clock starts just before fork() and stops when
 * the MapNotify event of a child of the root window arrives whose _NET_WM_PID is the program's
 * (and, with -n, whose title contains TITLE).
 * This watches the root window's substructure, so it expects no window manager: with one, the
 * program's window would be reparented into a frame and mapped there. Exit status 1 when the
 * program ended, or the time limit (20 s by default) passed, without mapping a window. */
#define _POSIX_C_SOURCE 200809L

#include <xcb/xcb.h>

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t a = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return a;
}

/* The _NET_WM_PID of a window, or 0 when it has none (yet). */
static pid_t window_pid(xcb_connection_t *c, xcb_window_t window, xcb_atom_t pid_atom)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, pid_atom, XCB_ATOM_CARDINAL, 0, 1), NULL);
    pid_t pid = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        pid = (pid_t) * (uint32_t *)xcb_get_property_value(reply);
    free(reply);
    return pid;
}

/* Whether the window's _NET_WM_NAME (or else WM_NAME) contains `wanted`. */
static int title_contains(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name_atom,
                          const char *wanted)
{
    const xcb_atom_t names[2] = {name_atom, XCB_ATOM_WM_NAME};
    for (int i = 0; i < 2; ++i) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, names[i], XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), NULL);
        int found = 0;
        if (reply) {
            const int length = xcb_get_property_value_length(reply);
            char *title = malloc((size_t)length + 1);
            memcpy(title, xcb_get_property_value(reply), (size_t)length);
            title[length] = '\0';
            found = strstr(title, wanted) != NULL;
            free(title);
            free(reply);
        }
        if (found)
            return 1;
    }
    return 0;
}

static void end_child(pid_t pid)
{
    kill(pid, SIGTERM);
    const struct timespec pause = {0, 10 * 1000 * 1000};
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        nanosleep(&pause, NULL);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

int main(int argc, char *argv[])
{
    double limit_s = 20;
    const char *wanted_title = NULL;
    int first = 1;
    while (first + 1 < argc && argv[first][0] == '-') {
        if (strcmp(argv[first], "-t") == 0)
            limit_s = atof(argv[first + 1]);
        else if (strcmp(argv[first], "-n") == 0)
            wanted_title = argv[first + 1];
        else
            break;
        first += 2;
    }
    if (first >= argc || argv[first][0] == '-') {
        fprintf(stderr, "uso: jornada-bench-maptime [-t SEGUNDOS] [-n TÍTULO] PROGRAMA [ARGUMENTOS...]\n");
        return 2;
    }

    int screen_number = 0;
    xcb_connection_t *c = xcb_connect(NULL, &screen_number);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "jornada-bench-maptime: sem conexão com o servidor X (DISPLAY)\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen_number; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const xcb_atom_t pid_atom = atom(c, "_NET_WM_PID");
    const xcb_atom_t name_atom = atom(c, "_NET_WM_NAME");

    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_generic_error_t *error =
        xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        fprintf(stderr, "jornada-bench-maptime: não foi possível observar a janela raiz\n");
        return 2;
    }

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[first], argv + first);
        fprintf(stderr, "jornada-bench-maptime: %s: %s\n", argv[first], strerror(errno));
        _exit(127);
    }

    struct pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(c)) != NULL) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const double mapped = now_ms();
                const xcb_map_notify_event_t *map = (const xcb_map_notify_event_t *)event;
                if (map->event == root && !map->override_redirect
                    && window_pid(c, map->window, pid_atom) == pid
                    && (!wanted_title || title_contains(c, map->window, name_atom, wanted_title))) {
                    printf("%.2f\n", mapped - start);
                    fflush(stdout);
                    free(event);
                    end_child(pid);
                    xcb_disconnect(c);
                    return 0;
                }
            }
            free(event);
        }
        if (xcb_connection_has_error(c))
            break;
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "jornada-bench-maptime: o programa terminou sem mapear uma janela\n");
            xcb_disconnect(c);
            return 1;
        }
        if (now_ms() - start > limit_s * 1e3) {
            fprintf(stderr, "jornada-bench-maptime: nenhuma janela mapeada em %.0f s\n", limit_s);
            end_child(pid);
            xcb_disconnect(c);
            return 1;
        }
        poll(&fd, 1, 50);
    }
    end_child(pid);
    return 1;
}
