#include "platform/fake/FakeDesktop.hpp"

namespace zorlo {

Desktop FakeDesktop::desktop() {
    return Desktop{textArea,      label,        window,         dialogs,  pump,
                   shell,         processes,    files,          keyboard, sound,
                   captureWindow, applications, settingsFolder_};
}

void FakeDesktop::attach(ConsoleEvents* console) {
    textArea.attach(console);
    window.attach(console);
}

} // namespace zorlo
