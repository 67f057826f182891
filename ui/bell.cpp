#include "ui/bell.h"

#include <QApplication>
#include <cstdint>

#if defined(Q_OS_LINUX)
#include <dlfcn.h>
#endif

namespace tavola {

namespace {

#if defined(Q_OS_LINUX)
// libcanberra is looked up at run time, so the program neither needs it to
// build nor to start.
struct Canberra {
    using Create = int (*)(void**);
    using Play = int (*)(void*, std::uint32_t, ...);

    Canberra()
    {
        void* library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return;
        auto create = reinterpret_cast<Create>(dlsym(library, "ca_context_create"));
        play = reinterpret_cast<Play>(dlsym(library, "ca_context_play"));
        if (!create || !play || create(&context) != 0)
            context = nullptr;
    }

    void* context = nullptr;
    Play play = nullptr;
};
#endif

}  // namespace

void ringBell()
{
    QApplication::beep();
#if defined(Q_OS_LINUX)
    static Canberra canberra;
    if (canberra.context)
        canberra.play(canberra.context, 0, "event.id", "bell", nullptr);
#endif
}

}  // namespace tavola
