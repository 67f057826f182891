#include "ui/wayland_dialog.h"

#ifdef TAVOLA_WAYLAND_DIALOGS

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

// The requests and events of version 1 as far as they are used: opcodes are
// positions in these lists.
const wl_message kSurfaceRequests[] = {
    {"set_dbus_properties", "?s?s?s?s?s?s", nullptr},
    {"set_modal", "", nullptr},
    {"unset_modal", "", nullptr},
};
const wl_message kSurfaceEvents[] = {{"configure", "a", nullptr}};
const wl_interface kGtkSurface = {"gtk_surface1", 1, 3, kSurfaceRequests, 1, kSurfaceEvents};
const wl_interface* kGetSurfaceTypes[] = {&kGtkSurface, nullptr};
const wl_message kShellRequests[] = {{"get_gtk_surface", "no", kGetSurfaceTypes}};
const wl_message kShellEvents[] = {{"capabilities", "u", nullptr}};
const wl_interface kGtkShell = {"gtk_shell1", 1, 1, kShellRequests, 1, kShellEvents};

constexpr std::uint32_t kGetRegistry = 1;      // wl_display
constexpr std::uint32_t kBind = 0;             // wl_registry
constexpr std::uint32_t kGetGtkSurface = 0;    // gtk_shell1
constexpr std::uint32_t kSetModal = 1;         // gtk_surface1

struct Client {
    decltype(&wl_display_create_queue) createQueue = nullptr;
    decltype(&wl_proxy_create_wrapper) createWrapper = nullptr;
    decltype(&wl_proxy_wrapper_destroy) destroyWrapper = nullptr;
    decltype(&wl_proxy_set_queue) setQueue = nullptr;
    decltype(&wl_proxy_marshal_constructor) construct = nullptr;
    decltype(&wl_proxy_marshal_constructor_versioned) constructVersioned = nullptr;
    decltype(&wl_proxy_marshal) marshal = nullptr;
    decltype(&wl_proxy_add_listener) addListener = nullptr;
    decltype(&wl_proxy_destroy) destroy = nullptr;
    decltype(&wl_display_roundtrip_queue) roundtrip = nullptr;
    const wl_interface* registryInterface = nullptr;
    wl_proxy* shell = nullptr;  // GNOME's, or none
};

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

void global(void* data, wl_proxy* /*registry*/, std::uint32_t name, const char* interface, std::uint32_t /*version*/)
{
    auto* search = static_cast<Search*>(data);
    if (search->client->shell || std::strcmp(interface, kGtkShell.name) != 0)
        return;
    search->client->shell = search->client->constructVersioned(search->registry, kBind, &kGtkShell, 1, name,
                                                                kGtkShell.name, 1u, nullptr);
}

void globalRemoved(void*, wl_proxy*, std::uint32_t) {}

// Binds gtk_shell1 on a queue of its own, so that Qt's events stay Qt's.
Client connect(wl_display* display)
{
    Client client;
    void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return client;
    const bool found = look(library, "wl_display_create_queue", client.createQueue) &&
                       look(library, "wl_proxy_create_wrapper", client.createWrapper) &&
                       look(library, "wl_proxy_wrapper_destroy", client.destroyWrapper) &&
                       look(library, "wl_proxy_set_queue", client.setQueue) &&
                       look(library, "wl_proxy_marshal_constructor", client.construct) &&
                       look(library, "wl_proxy_marshal_constructor_versioned", client.constructVersioned) &&
                       look(library, "wl_proxy_marshal", client.marshal) &&
                       look(library, "wl_proxy_add_listener", client.addListener) &&
                       look(library, "wl_proxy_destroy", client.destroy) &&
                       look(library, "wl_display_roundtrip_queue", client.roundtrip) &&
                       look(library, "wl_registry_interface", client.registryInterface);
    if (!found)
        return client;
    wl_event_queue* queue = client.createQueue(display);
    auto* wrapper = static_cast<wl_proxy*>(client.createWrapper(display));
    client.setQueue(wrapper, queue);
    Search search{&client, client.construct(wrapper, kGetRegistry, client.registryInterface, nullptr)};
    client.destroyWrapper(wrapper);
    using Listener = void (*)();
    static Listener listener[] = {reinterpret_cast<Listener>(&global), reinterpret_cast<Listener>(&globalRemoved)};
    client.addListener(search.registry, listener, &search);
    client.roundtrip(display, queue);
    // The shell's own events (its capabilities) are nobody's business here:
    // on Qt's queue they are dropped for want of a listener.
    if (client.shell)
        client.setQueue(client.shell, nullptr);
    client.destroy(search.registry);
    return client;
}

}  // namespace

void markAsModalDialog(QWindow* box)
{
    if (!box || QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_proxy*>(native->nativeResourceForWindow("surface", box));
    if (!display || !surface)
        return;
    static const Client client = connect(display);
    if (!client.shell)
        return;
    // Its events, if any, are dropped on Qt's queue; the compositor forgets
    // it with the surface.
    wl_proxy* gtkSurface = client.construct(client.shell, kGetGtkSurface, &kGtkSurface, nullptr, surface);
    client.marshal(gtkSurface, kSetModal);
    client.destroy(gtkSurface);
}

}  // namespace tavola

#else

namespace tavola {
void markAsModalDialog(QWindow*) {}
}  // namespace tavola

#endif
