#include "platform/gio/GioApplications.hpp"

#include "platform/posix/HomeFolder.hpp"
#include "platform/posix/PosixShell.hpp"
#include "platform/posix/Spawn.hpp"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string_view>
#include <unistd.h>

// POSIX leaves declaring it to the program; glibc declares it only for GNU sources.
extern char** environ; // NOLINT(readability-redundant-declaration)

namespace zorlo {

namespace {

namespace fs = std::filesystem;

// GIO (and GObject under it) is opened when the applications are first read,
// not linked: loading it costs every start a few milliseconds before the
// window can map, and the list is read only after the first paint. GLib
// itself comes with Qt. The headers still give each function its type.
struct Gio {
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_signal_connect_data) signalConnectData = nullptr;
    decltype(&g_signal_handler_disconnect) signalHandlerDisconnect = nullptr;
    decltype(&g_app_info_get_all) appInfoGetAll = nullptr;
    decltype(&g_app_info_should_show) appInfoShouldShow = nullptr;
    decltype(&g_app_info_get_name) appInfoGetName = nullptr;
    decltype(&g_app_info_get_id) appInfoGetId = nullptr;
    decltype(&g_app_info_get_executable) appInfoGetExecutable = nullptr;
    decltype(&g_app_info_get_commandline) appInfoGetCommandline = nullptr;
    decltype(&g_app_info_monitor_get) appInfoMonitorGet = nullptr;
    decltype(&g_desktop_app_info_new) desktopAppInfoNew = nullptr;
    decltype(&g_desktop_app_info_get_string) desktopAppInfoGetString = nullptr;
    decltype(&g_desktop_app_info_launch_uris_as_manager) launchUrisAsManager = nullptr;
    decltype(&g_app_launch_context_new) launchContextNew = nullptr;
    decltype(&g_app_launch_context_setenv) launchContextSetenv = nullptr;
    decltype(&g_app_launch_context_unsetenv) launchContextUnsetenv = nullptr;
    decltype(&g_file_new_for_path) fileNewForPath = nullptr;
    decltype(&g_file_get_uri) fileGetUri = nullptr;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<Gio> openGio() {
    // Never closed: GObject's types cannot be unloaded.
    void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    Gio gio;
    const bool complete =
        library != nullptr && resolve(library, "g_object_unref", gio.objectUnref) &&
        resolve(library, "g_signal_connect_data", gio.signalConnectData) &&
        resolve(library, "g_signal_handler_disconnect", gio.signalHandlerDisconnect) &&
        resolve(library, "g_app_info_get_all", gio.appInfoGetAll) &&
        resolve(library, "g_app_info_should_show", gio.appInfoShouldShow) &&
        resolve(library, "g_app_info_get_name", gio.appInfoGetName) &&
        resolve(library, "g_app_info_get_id", gio.appInfoGetId) &&
        resolve(library, "g_app_info_get_executable", gio.appInfoGetExecutable) &&
        resolve(library, "g_app_info_get_commandline", gio.appInfoGetCommandline) &&
        resolve(library, "g_app_info_monitor_get", gio.appInfoMonitorGet) &&
        resolve(library, "g_desktop_app_info_new", gio.desktopAppInfoNew) &&
        resolve(library, "g_desktop_app_info_get_string", gio.desktopAppInfoGetString) &&
        resolve(library, "g_desktop_app_info_launch_uris_as_manager", gio.launchUrisAsManager) &&
        resolve(library, "g_app_launch_context_new", gio.launchContextNew) &&
        resolve(library, "g_app_launch_context_setenv", gio.launchContextSetenv) &&
        resolve(library, "g_app_launch_context_unsetenv", gio.launchContextUnsetenv) &&
        resolve(library, "g_file_new_for_path", gio.fileNewForPath) &&
        resolve(library, "g_file_get_uri", gio.fileGetUri);
    if (!complete) {
        // Without GIO the console simply offers no applications; say why once.
        std::fprintf(stderr, "zorlo: installed applications are not offered: %s\n", dlerror());
        return std::nullopt;
    }
    return gio;
}

// Null where GIO cannot be loaded. Safe on any thread.
const Gio* gio() {
    static const std::optional<Gio> loaded = openGio();
    return loaded ? &*loaded : nullptr;
}

// GLib hands out objects and strings the caller frees; these free them at
// the end of the scope, whatever path leaves it.
template <typename T> struct Unref {
    void operator()(T* object) const { gio()->objectUnref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, Unref<T>>;
struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};
using OwnedText = std::unique_ptr<char, GFree>;
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

Text textOf(const char* utf8) {
    return utf8 != nullptr ? fromUtf8(utf8) : Text();
}

// The desktop file id without ".desktop": the application's own id.
std::string_view withoutSuffix(std::string_view id) {
    constexpr std::string_view kEntrySuffix = ".desktop";
    if (id.size() > kEntrySuffix.size() &&
        id.substr(id.size() - kEntrySuffix.size()) == kEntrySuffix) {
        id.remove_suffix(kEntrySuffix.size());
    }
    return id;
}

// The Exec line as a user reads it: the field codes ("%U", "%f") are for the
// launch, not for the eye.
std::string withoutFieldCodes(std::string_view exec) {
    std::string shown;
    std::size_t start = 0;
    while (start < exec.size()) {
        std::size_t end = exec.find(' ', start);
        if (end == std::string_view::npos) {
            end = exec.size();
        }
        const std::string_view word = exec.substr(start, end - start);
        const bool fieldCode = word.size() == 2 && word[0] == '%' && word[1] != '%';
        if (!word.empty() && !fieldCode) {
            if (!shown.empty()) {
                shown += ' ';
            }
            shown += word;
        }
        start = end + 1;
    }
    return shown;
}

Application applicationFrom(const Gio& gio, GAppInfo* info) {
    Application app;
    app.name = textOf(gio.appInfoGetName(info));
    const char* rawId = gio.appInfoGetId(info);
    const std::string id = rawId != nullptr ? rawId : "";
    app.key = fromUtf8(id);
    const auto answersTo = [&app](const Text& name) {
        if (name.empty() || equalsIgnoreCase(name, app.name)) {
            return;
        }
        for (const Text& known : app.names) {
            if (equalsIgnoreCase(name, known)) {
                return;
            }
        }
        app.names.push_back(name);
    };
    answersTo(fromUtf8(withoutSuffix(id)));
    // A program that PATH finds already runs by its name, with its arguments
    // as typed ("python3 script.py"); only one PATH does not know needs the entry.
    if (const char* executable = gio.appInfoGetExecutable(info); executable != nullptr) {
        const std::string program = fs::path(executable).filename().string();
        if (posix::findOnPath(program).empty()) {
            answersTo(fromUtf8(program));
        }
    }
    const char* exec = gio.appInfoGetCommandline(info);
    app.target = fromUtf8(withoutFieldCodes(exec != nullptr ? exec : ""));
    return app;
}

// A word with a URI scheme goes as it is; any other names a file, in the
// console's folder unless it is a full path.
std::string uriFor(const Gio& gio, const Text& word, const std::string& folder) {
    if (PosixShell::hasUriScheme(word)) {
        return toUtf8(word);
    }
    fs::path path = posix::expandHome(toUtf8(word));
    if (path.is_relative()) {
        path = fs::path(folder) / path;
    }
    const GObjectPtr<GFile> file(gio.fileNewForPath(path.c_str()));
    const OwnedText uri(gio.fileGetUri(file.get()));
    return uri.get();
}

// What the started process does before it becomes the application: a session
// of its own, so that it outlives the console and takes none of its signals,
// no signals blocked, and the console's folder where the entry names none.
// Runs between fork and exec: async-signal-safe calls only.
struct ChildSetup {
    std::string folder; // empty: the entry's own Path
};

extern "C" void setUpChild(gpointer data) {
    const auto* setup = static_cast<const ChildSetup*>(data);
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (!setup->folder.empty()) {
        // A folder gone since the console entered it leaves the process where
        // GLib put it, as a literal launch would fail only on a missing program.
        [[maybe_unused]] const int moved = chdir(setup->folder.c_str());
    }
}

// The launch context carries the environment a literal launch gets, and the
// token that lets the application take the focus.
GObjectPtr<GAppLaunchContext> launchContext(const Gio& gio,
                                            const std::optional<std::string>& token) {
    GObjectPtr<GAppLaunchContext> context(gio.launchContextNew());
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (!posix::passesToLaunched(variable)) {
            const std::string name(variable.substr(0, variable.find('=')));
            gio.launchContextUnsetenv(context.get(), name.c_str());
        }
    }
    if (token) {
        // Wayland reads the first, X11 startup notification the second; a
        // program takes whichever its toolkit knows.
        gio.launchContextSetenv(context.get(), "XDG_ACTIVATION_TOKEN", token->c_str());
        gio.launchContextSetenv(context.get(), "DESKTOP_STARTUP_ID", token->c_str());
    }
    return context;
}

int errnoFor(const GError& error) {
    if (error.domain != G_SPAWN_ERROR) {
        return 0;
    }
    switch (error.code) {
    case G_SPAWN_ERROR_NOENT:
        return ENOENT;
    case G_SPAWN_ERROR_ACCES:
        return EACCES;
    case G_SPAWN_ERROR_PERM:
        return EPERM;
    case G_SPAWN_ERROR_NOEXEC:
    case G_SPAWN_ERROR_ISDIR:
        return ENOEXEC;
    case G_SPAWN_ERROR_LIBBAD:
        return ELIBBAD;
    case G_SPAWN_ERROR_NOMEM:
        return ENOMEM;
    case G_SPAWN_ERROR_TOO_BIG:
        return E2BIG;
    case G_SPAWN_ERROR_CHDIR:
    case G_SPAWN_ERROR_NOTDIR:
        return ENOTDIR;
    case G_SPAWN_ERROR_NAMETOOLONG:
        return ENAMETOOLONG;
    case G_SPAWN_ERROR_LOOP:
        return ELOOP;
    case G_SPAWN_ERROR_TXTBUSY:
        return ETXTBSY;
    default:
        return 0;
    }
}

} // namespace

GioApplications::GioApplications(TokenSource tokenForLaunch)
    : tokenForLaunch_(std::move(tokenForLaunch)) {}

std::vector<Application> GioApplications::read() {
    std::vector<Application> apps;
    const Gio* loaded = gio();
    if (loaded == nullptr) {
        return apps;
    }
    GList* all = loaded->appInfoGetAll();
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        if (loaded->appInfoShouldShow(info)) {
            apps.push_back(applicationFrom(*loaded, info));
        }
    }
    g_list_free_full(all, loaded->objectUnref);
    return apps;
}

long GioApplications::launch(const Application& app, const std::vector<Text>& arguments,
                             const Text& folder) {
    const Gio* loaded = gio();
    if (loaded == nullptr) {
        return PosixShell::codeForErrno(ENOENT);
    }
    // The entry is looked up again: it may have changed since the list was read.
    const std::string id = toUtf8(app.key);
    const GObjectPtr<GDesktopAppInfo> info(loaded->desktopAppInfoNew(id.c_str()));
    if (!info) {
        return PosixShell::codeForErrno(ENOENT);
    }
    const std::string where = PosixShell::workingFolder(folder);
    std::vector<std::string> uris;
    uris.reserve(arguments.size());
    GList* uriList = nullptr;
    for (const Text& word : arguments) {
        // An empty word names no file; as a path it would name the folder.
        if (!word.empty()) {
            uris.push_back(uriFor(*loaded, word, where));
        }
    }
    for (auto uri = uris.rbegin(); uri != uris.rend(); ++uri) {
        uriList = g_list_prepend(uriList, uri->data());
    }
    const OwnedText ownPath(loaded->desktopAppInfoGetString(info.get(), "Path"));
    ChildSetup setup{ownPath ? std::string() : where};
    const std::string appId(withoutSuffix(id));
    const auto context =
        launchContext(*loaded, tokenForLaunch_ ? tokenForLaunch_(appId) : std::nullopt);
    GError* failure = nullptr;
    const bool started =
        loaded->launchUrisAsManager(info.get(), uriList, context.get(), G_SPAWN_SEARCH_PATH,
                                    setUpChild, &setup, nullptr, nullptr, &failure) != FALSE;
    g_list_free(uriList);
    if (started) {
        return PosixShell::kStarted;
    }
    const std::unique_ptr<GError, ErrorFree> error(failure);
    return PosixShell::codeForErrno(error ? errnoFor(*error) : 0);
}

struct GioApplicationsWatch::State {
    std::function<void()> changed;
    GObjectPtr<GAppInfoMonitor> monitor;
    gulong handler = 0;
};

namespace {

extern "C" void onApplicationsChanged(GAppInfoMonitor* /*monitor*/, gpointer data) {
    static_cast<const std::function<void()>*>(data)->operator()();
}

} // namespace

GioApplicationsWatch::GioApplicationsWatch(std::function<void()> changed)
    : state_(std::make_unique<State>()) {
    const Gio* loaded = gio();
    if (loaded == nullptr) {
        return;
    }
    state_->changed = std::move(changed);
    state_->monitor.reset(loaded->appInfoMonitorGet());
    state_->handler = loaded->signalConnectData(state_->monitor.get(), "changed",
                                                G_CALLBACK(onApplicationsChanged), &state_->changed,
                                                nullptr, static_cast<GConnectFlags>(0));
}

GioApplicationsWatch::~GioApplicationsWatch() {
    if (state_->monitor) {
        gio()->signalHandlerDisconnect(state_->monitor.get(), state_->handler);
    }
}

} // namespace zorlo
