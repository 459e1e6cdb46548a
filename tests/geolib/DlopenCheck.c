/* Loads the library by path and calls TAVU through its plain name. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <libtavu32d.so>\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    void (*tavu)(int32_t*) = 0;
    void* symbol = dlsym(library, "TAVU");
    memcpy(&tavu, &symbol, sizeof symbol); /* POSIX: a symbol's address is a function's */
    if (!tavu) {
        fprintf(stderr, "no TAVU: %s\n", dlerror());
        return 1;
    }
    int32_t version = 0;
    tavu(&version);
    printf("TAVU = %d\n", (int)version);
    dlclose(library);
    return version == 20050621 ? 0 : 1;
}
