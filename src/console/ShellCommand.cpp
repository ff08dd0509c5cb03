#include "console/Console.hpp"

#include "store/Store.hpp"
#include "text/Failure.hpp"

namespace zorlo {

void Console::openShell(const Text& name) {
    try {
        const Text folder = getItem(macros, name, *this);
        if (folder.empty()) {
            throw Failure(u"Not Found");
        }
        if (!d_.files.folderExists(folder)) {
            throw Failure(u"Not a Folder");
        }
        // The classic command line, kept for the record; the adapter starts the
        // prompt with the folder as its working folder and never parses this.
        const Text commandLine = u"cmd /K " + folder.substr(0, 2) + u"&&cd " + folder;
        const long task = d_.processes.startShell(commandLine, folder);
        if (task > 0) {
            Stat(u"Shell open");
            if (param(u"autohide") == u"1") {
                hidden = true;
                hideWindow();
            }
        }
    } catch (const Failure& failure) {
        Stat(u"Shell " + name + u": Error: " + failure.description());
    }
}

} // namespace zorlo
