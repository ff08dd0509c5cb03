// A keyboard for tests under a Wayland compositor: one process, one US
// keymap handed over once, commands read from stdin line by line:
//   type TEXT   types printable ASCII, shifted where the keymap needs it
//   key NAME    taps one key by its keysym name (F12, Return, Escape, ...)
// and answers each on stdout, once the compositor has the keys: "ok", or
// "failed" when the line cannot be typed (then nothing of it is).
// A tool that loads a fresh keymap for every run loses the first key and
// unsettles the focus; this one stays connected for the whole test.
#define _GNU_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"

static struct wl_seat* seat;
static struct zwp_virtual_keyboard_manager_v1* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (!seat && strcmp(interface, wl_seat_interface.name) == 0)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static struct xkb_keymap* keymap;
static struct zwp_virtual_keyboard_v1* keyboard;
static uint32_t shift_mask;

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// The key and level (0 plain, 1 shifted) that give the keysym; 0 when none.
static xkb_keycode_t find_key(xkb_keysym_t sym, int* shifted) {
    for (int level = 0; level < 2; ++level) {
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
             code <= xkb_keymap_max_keycode(keymap); ++code) {
            const xkb_keysym_t* syms;
            if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, (xkb_level_index_t)level,
                                                 &syms) == 1 &&
                syms[0] == sym) {
                *shifted = level;
                return code;
            }
        }
    }
    return 0;
}

static void tap(xkb_keycode_t code, int shifted) {
    // The compositor speaks evdev codes, eight below the XKB ones.
    uint32_t key = code - 8;
    if (shifted)
        zwp_virtual_keyboard_v1_modifiers(keyboard, shift_mask, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), key, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), key, WL_KEYBOARD_KEY_STATE_RELEASED);
    if (shifted)
        zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
}

enum { LINE_MAX_BYTES = 4096 };

// Types the whole text or, if one character has no key, nothing of it.
static int type_text(const char* text) {
    size_t n = strlen(text);
    xkb_keycode_t codes[LINE_MAX_BYTES];
    int shifted[LINE_MAX_BYTES];
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)text[i];
        codes[i] = c < 0x80 ? find_key(xkb_utf32_to_keysym(c), &shifted[i]) : 0;
        if (!codes[i]) {
            fprintf(stderr, "vkbd: no key types '%c'\n", c);
            return 0;
        }
    }
    for (size_t i = 0; i < n; ++i)
        tap(codes[i], shifted[i]);
    return 1;
}

static int press_named(const char* name) {
    xkb_keysym_t sym = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    if (sym == XKB_KEY_NoSymbol)
        sym = xkb_keysym_from_name(name, XKB_KEYSYM_CASE_INSENSITIVE);
    int shifted = 0;
    xkb_keycode_t code = sym == XKB_KEY_NoSymbol ? 0 : find_key(sym, &shifted);
    if (!code) {
        fprintf(stderr, "vkbd: no key named '%s'\n", name);
        return 0;
    }
    tap(code, shifted);
    return 1;
}

static int hand_over_keymap(void) {
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    size_t size = strlen(text) + 1;
    int fd = memfd_create("vkbd-keymap", MFD_CLOEXEC);
    int ok = fd >= 0 && write(fd, text, size) == (ssize_t)size;
    free(text);
    if (ok)
        zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       (uint32_t)size);
    if (fd >= 0)
        close(fd);
    return ok;
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vkbd: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!seat || !manager) {
        fprintf(stderr, "vkbd: the compositor offers no seat or no virtual keyboards\n");
        return 1;
    }

    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const struct xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : 0;
    if (!keymap) {
        fprintf(stderr, "vkbd: no US keymap\n");
        return 1;
    }
    shift_mask = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    if (!hand_over_keymap() || wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "vkbd: the keymap was not taken\n");
        return 1;
    }

    // A broken connection ends the program, as every later key would be lost.
    char line[LINE_MAX_BYTES];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\n")] = '\0';
        int ok = 0;
        if (strncmp(line, "type ", 5) == 0)
            ok = type_text(line + 5);
        else if (strncmp(line, "key ", 4) == 0)
            ok = press_named(line + 4);
        else
            fprintf(stderr, "vkbd: unknown command '%s'\n", line);
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "vkbd: the compositor closed the connection\n");
            return 1;
        }
        printf("%s\n", ok ? "ok" : "failed");
        fflush(stdout);
    }
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    wl_display_disconnect(display);
    return 0;
}
