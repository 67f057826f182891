#include "ui/bell.h"

#include <QApplication>
#include <cstdint>

#if defined(Q_OS_LINUX)
#include <dlfcn.h>
#endif

namespace tavola {

namespace {

#if defined(Q_OS_LINUX)
// ALSA writes every failure to stderr (eight lines per sound on a machine
// without a sound card); a bell that cannot sound should say nothing.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa()
{
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    // Kept loaded: the handler must outlive every sound canberra plays.
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa)
        return;
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(&ignoreAlsaError);
}

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
        if (!create || !play)
            return;
        // Before canberra opens its backend, which may be ALSA.
        silenceAlsa();
        if (create(&context) != 0)
            context = nullptr;
    }

    // True when the sound theme's bell is on its way to a sound device.
    bool ring() const
    {
        return context && play(context, 0, "event.id", "bell", nullptr) == 0;
    }

    void* context = nullptr;
    Play play = nullptr;
};
#endif

}  // namespace

BellSound ringBell()
{
#if defined(Q_OS_LINUX)
    static const Canberra canberra;
    if (canberra.ring())
        return BellSound::SoundTheme;
#endif
    // Only when the sound theme cannot sound: both at once beep twice.
    QApplication::beep();
    return BellSound::WindowSystem;
}

}  // namespace tavola
