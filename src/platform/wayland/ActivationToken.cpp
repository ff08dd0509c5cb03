#include "platform/wayland/ActivationToken.hpp"

#include "xdg-activation-v1-client-protocol.h"

#include <wayland-client.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>

namespace zorlo::wayland {

namespace {

using Clock = std::chrono::steady_clock;

struct Session {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    xdg_activation_v1* activation = nullptr;
    xdg_activation_token_v1* token = nullptr;
    wl_callback* sync = nullptr;
    bool synced = false;
    bool answered = false;
    std::string text;

    ~Session() {
        if (sync != nullptr) {
            wl_callback_destroy(sync);
        }
        if (token != nullptr) {
            xdg_activation_token_v1_destroy(token);
        }
        if (activation != nullptr) {
            xdg_activation_v1_destroy(activation);
        }
        if (registry != nullptr) {
            wl_registry_destroy(registry);
        }
        if (display != nullptr) {
            wl_display_disconnect(display);
        }
    }
};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t /*version*/) {
    auto* session = static_cast<Session*>(data);
    if (session->activation == nullptr &&
        std::strcmp(interface, xdg_activation_v1_interface.name) == 0) {
        session->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
}

void withdrawn(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener{announced, withdrawn};

void syncDone(void* data, wl_callback* callback, uint32_t) {
    auto* session = static_cast<Session*>(data);
    session->synced = true;
    session->sync = nullptr;
    wl_callback_destroy(callback);
}

const wl_callback_listener kSyncListener{syncDone};

void tokenDone(void* data, xdg_activation_token_v1*, const char* token) {
    auto* session = static_cast<Session*>(data);
    session->text = token != nullptr ? token : "";
    session->answered = true;
}

const xdg_activation_token_v1_listener kTokenListener{tokenDone};

// Dispatches the connection's events until `done` holds or the deadline
// passes; a compositor that stops answering must not hold up a launch or a
// start for longer than that.
bool dispatchUntil(wl_display* display, const bool& done, Clock::time_point deadline) {
    while (!done) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                return false;
            }
            if (done) {
                return true;
            }
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        pollfd ready{wl_display_get_fd(display), POLLIN, 0};
        const int got = poll(&ready, 1, static_cast<int>(left));
        if (got <= 0) {
            wl_display_cancel_read(display);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> requestActivationToken(const std::string& appId, int timeoutMs) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    // A socket handed over in WAYLAND_SOCKET belongs to the toolkit's own
    // connection; connecting here would take it away.
    if (name == nullptr || *name == '\0' || std::getenv("WAYLAND_SOCKET") != nullptr) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Session session;
    session.display = wl_display_connect(name);
    if (session.display == nullptr) {
        return std::nullopt;
    }
    session.registry = wl_display_get_registry(session.display);
    wl_registry_add_listener(session.registry, &kRegistryListener, &session);
    session.sync = wl_display_sync(session.display);
    wl_callback_add_listener(session.sync, &kSyncListener, &session);
    if (!dispatchUntil(session.display, session.synced, deadline) ||
        session.activation == nullptr) {
        return std::nullopt;
    }
    session.token = xdg_activation_v1_get_activation_token(session.activation);
    xdg_activation_token_v1_add_listener(session.token, &kTokenListener, &session);
    if (!appId.empty()) {
        xdg_activation_token_v1_set_app_id(session.token, appId.c_str());
    }
    xdg_activation_token_v1_commit(session.token);
    if (!dispatchUntil(session.display, session.answered, deadline) ||
        !isAcceptableActivationToken(session.text)) {
        return std::nullopt;
    }
    return session.text;
}

} // namespace zorlo::wayland
