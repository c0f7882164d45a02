// SPDX-License-Identifier: MIT
// Rests a pointer at (X, Y) of a wlroots compositor's output for SECONDS:
// a virtual pointer of the seat (zwlr_virtual_pointer_manager_v1), kept
// alive, since the client under a removed pointer sees it leave.
//
//   restpointer X Y OUTPUT_WIDTH OUTPUT_HEIGHT SECONDS
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// The protocol's interfaces by hand from its published definition, as
// neither Debian 12 nor 13 packages its XML: requests in the protocol's
// order, up to the last one used.
const wl_interface* kCreateTypes[2] = {&wl_seat_interface, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", nullptr}, {"motion_absolute", "uuuuu", nullptr},
    {"button", "uuu", nullptr}, {"axis", "uuf", nullptr},
    {"frame", "", nullptr},
};
const wl_interface kPointer = {"zwlr_virtual_pointer_v1", 1, 5, kPointerRequests, 0, nullptr};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
enum : uint32_t { kCreate = 0, kMotionAbsolute = 1, kFrame = 4 };

struct Globals {
    void* seat = nullptr;
    void* manager = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t /*version*/)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr)
        globals->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (std::strcmp(interface, kManager.name) == 0)
        globals->manager = wl_registry_bind(registry, name, &kManager, 1);
}
void globalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}
const wl_registry_listener kRegistryListener = {global, globalRemove};

}  // namespace

int main(int argc, char** argv)
{
    kCreateTypes[1] = &kPointer;
    wl_display* display = argc == 6 ? wl_display_connect(nullptr) : nullptr;
    Globals globals;
    if (display != nullptr) {
        wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
        wl_display_roundtrip(display);
    }
    if (globals.seat == nullptr || globals.manager == nullptr)
        return 1;
    auto* manager = static_cast<wl_proxy*>(globals.manager);
    wl_proxy* pointer = wl_proxy_marshal_constructor(manager, kCreate, &kPointer, globals.seat, nullptr);
    const auto arg = [&](int index) { return static_cast<uint32_t>(std::strtoul(argv[index], nullptr, 10)); };
    // Entering a window is no motion inside it, which is what starts a
    // toolkit's tooltip timer, and a new pointer's first motion can come
    // before the seat has it: arrive as a hand would, a pixel at a time.
    for (uint32_t step = 4; step-- > 0;) {
        wl_proxy_marshal(pointer, kMotionAbsolute, 0U, arg(1) - step, arg(2) - step, arg(3), arg(4));
        wl_proxy_marshal(pointer, kFrame);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        usleep(50000);
    }
    sleep(arg(5));
    wl_display_disconnect(display);
    return 0;
}
