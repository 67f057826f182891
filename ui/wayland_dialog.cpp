#include "ui/wayland_dialog.h"

#ifdef TAVOLA_WAYLAND_DIALOGS

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstring>
#include <dlfcn.h>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>

// GNOME's private protocol gtk_shell1 is the one way mutter 43 learns that a
// window is a modal dialog (xdg-dialog came later). Qt does not speak it, so
// the two requests needed are sent here. The client library is the one Qt's
// Wayland plugin has already loaded: it is looked up, never linked, so the
// program needs no Wayland library elsewhere.

namespace tavola {

namespace {

// Version 4, the first whose gtk_surface1 can be released: every request
// and event up to it, in order, as opcodes are positions in these lists.
constexpr int kVersion = 4;
const wl_message kSurfaceRequests[] = {
    {"set_dbus_properties", "?s?s?s?s?s?s", nullptr},
    {"set_modal", "", nullptr},
    {"unset_modal", "", nullptr},
    {"present", "u", nullptr},
    {"request_focus", "3?s", nullptr},
    {"release", "4", nullptr},
};
const wl_message kSurfaceEvents[] = {{"configure", "a", nullptr}, {"configure_edges", "2a", nullptr}};
const wl_interface kGtkSurface = {"gtk_surface1", kVersion, 6, kSurfaceRequests, 2, kSurfaceEvents};
const wl_interface* kGetSurfaceTypes[] = {&kGtkSurface, nullptr};
const wl_message kShellRequests[] = {
    {"get_gtk_surface", "no", kGetSurfaceTypes},
    {"set_startup_id", "?s", nullptr},
    {"system_bell", "?o", nullptr},
    {"notify_launch", "3s", nullptr},
};
const wl_message kShellEvents[] = {{"capabilities", "u", nullptr}};
const wl_interface kGtkShell = {"gtk_shell1", kVersion, 4, kShellRequests, 1, kShellEvents};

constexpr std::uint32_t kGetRegistry = 1;      // wl_display
constexpr std::uint32_t kBind = 0;             // wl_registry
constexpr std::uint32_t kGetGtkSurface = 0;    // gtk_shell1
constexpr std::uint32_t kSetModal = 1;         // gtk_surface1
constexpr std::uint32_t kRelease = 5;          // gtk_surface1

struct Client {
    decltype(&wl_display_create_queue) createQueue = nullptr;
    decltype(&wl_proxy_create_wrapper) createWrapper = nullptr;
    decltype(&wl_proxy_wrapper_destroy) destroyWrapper = nullptr;
    decltype(&wl_proxy_set_queue) setQueue = nullptr;
    decltype(&wl_proxy_marshal_constructor) construct = nullptr;
    decltype(&wl_proxy_marshal_constructor_versioned) constructVersioned = nullptr;
    decltype(&wl_proxy_marshal) marshal = nullptr;
    decltype(&wl_proxy_marshal_flags) marshalFlags = nullptr;
    decltype(&wl_event_queue_destroy) destroyQueue = nullptr;
    decltype(&wl_proxy_add_listener) addListener = nullptr;
    decltype(&wl_proxy_destroy) destroy = nullptr;
    decltype(&wl_display_roundtrip_queue) roundtrip = nullptr;
    const wl_interface* registryInterface = nullptr;
    wl_event_queue* queue = nullptr;
    wl_proxy* shell = nullptr;  // GNOME's, or none
};

// Bound once, freed as the application ends, while Qt's display still lives.
Client g_client;

void disconnect()
{
    if (g_client.shell)
        g_client.destroy(g_client.shell);
    if (g_client.queue)
        g_client.destroyQueue(g_client.queue);
    g_client = {};
}

template <typename Function>
bool look(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// The registry's announcements: finds gtk_shell1 and binds it.
struct Search {
    Client* client;
    wl_proxy* registry;
};

void global(void* data, wl_proxy* /*registry*/, std::uint32_t name, const char* interface, std::uint32_t version)
{
    auto* search = static_cast<Search*>(data);
    if (search->client->shell || std::strcmp(interface, kGtkShell.name) != 0 || version < std::uint32_t(kVersion))
        return;
    search->client->shell = search->client->constructVersioned(search->registry, kBind, &kGtkShell, kVersion, name,
                                                                kGtkShell.name, std::uint32_t(kVersion), nullptr);
}

void globalRemoved(void*, wl_proxy*, std::uint32_t) {}

// Binds gtk_shell1 on a queue of its own, so that Qt's events stay Qt's.
void connect(wl_display* display)
{
    Client& client = g_client;
    void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return;
    const bool found = look(library, "wl_display_create_queue", client.createQueue) &&
                       look(library, "wl_proxy_create_wrapper", client.createWrapper) &&
                       look(library, "wl_proxy_wrapper_destroy", client.destroyWrapper) &&
                       look(library, "wl_proxy_set_queue", client.setQueue) &&
                       look(library, "wl_proxy_marshal_constructor", client.construct) &&
                       look(library, "wl_proxy_marshal_constructor_versioned", client.constructVersioned) &&
                       look(library, "wl_proxy_marshal", client.marshal) &&
                       look(library, "wl_proxy_marshal_flags", client.marshalFlags) &&
                       look(library, "wl_event_queue_destroy", client.destroyQueue) &&
                       look(library, "wl_proxy_add_listener", client.addListener) &&
                       look(library, "wl_proxy_destroy", client.destroy) &&
                       look(library, "wl_display_roundtrip_queue", client.roundtrip) &&
                       look(library, "wl_registry_interface", client.registryInterface);
    if (!found) {
        client = {};
        return;
    }
    client.queue = client.createQueue(display);
    auto* wrapper = static_cast<wl_proxy*>(client.createWrapper(display));
    client.setQueue(wrapper, client.queue);
    Search search{&client, client.construct(wrapper, kGetRegistry, client.registryInterface, nullptr)};
    client.destroyWrapper(wrapper);
    using Listener = void (*)();
    static Listener listener[] = {reinterpret_cast<Listener>(&global), reinterpret_cast<Listener>(&globalRemoved)};
    client.addListener(search.registry, listener, &search);
    client.roundtrip(display, client.queue);
    // The shell's own events (its capabilities) are nobody's business here:
    // on Qt's queue they are dropped for want of a listener.
    if (client.shell)
        client.setQueue(client.shell, nullptr);
    client.destroy(search.registry);
    qAddPostRoutine(disconnect);
}

}  // namespace

ModalDialogMark::ModalDialogMark(QWindow* box)
{
    if (!box || QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_proxy*>(native->nativeResourceForWindow("surface", box));
    if (!display || !surface)
        return;
    static const bool connected = (connect(display), true);
    (void)connected;
    if (!g_client.shell)
        return;
    m_mark = g_client.construct(g_client.shell, kGetGtkSurface, &kGtkSurface, nullptr, surface);
    g_client.marshal(m_mark, kSetModal);
}

ModalDialogMark::~ModalDialogMark()
{
    if (m_mark && g_client.shell)
        g_client.marshalFlags(m_mark, kRelease, nullptr, kVersion, WL_MARSHAL_FLAG_DESTROY);
}

}  // namespace tavola

#else

namespace tavola {
ModalDialogMark::ModalDialogMark(QWindow*) {}
ModalDialogMark::~ModalDialogMark() = default;
}  // namespace tavola

#endif
