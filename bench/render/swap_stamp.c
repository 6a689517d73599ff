/* Preloaded into the demo by render_frame_bench: appends the monotonic time
 * of every glfwSwapBuffers call, one line of seconds each, to the file named
 * by ISLAND_SWAP_STAMPS, so that the real binary's first frame and frame
 * times can be read from outside it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

void glfwSwapBuffers(void* window) {
    static void (*swap)(void*);
    static FILE* stamps;
    if (swap == NULL) *(void**)&swap = dlsym(RTLD_NEXT, "glfwSwapBuffers");
    swap(window);
    if (stamps == NULL) {
        const char* path = getenv("ISLAND_SWAP_STAMPS");
        stamps = fopen(path != NULL ? path : "/dev/null", "a");
        if (stamps == NULL) return;
        setvbuf(stamps, NULL, _IOLBF, 0);
    }
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    fprintf(stamps, "%.6f\n", (double)now.tv_sec + (double)now.tv_nsec * 1e-9);
}
