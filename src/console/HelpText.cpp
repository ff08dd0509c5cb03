#include "console/Console.hpp"

namespace zorlo {

void Console::showHelp() {
    static constexpr TextView kLines[] = {
        u"COMMANDS:",
        u" delete [macro] - deletes macro",
        u" exit - exit app saving",
        u" list [pattern] - lists all macros",
        u" listparams - lists all params (some settable)",
        u" param [name] - toggle settable param",
        u" macro [name] [value] - creates a macro",
        u" rename [name] [new] - renames macro",
        u" save - saves settings",
        u" shell [macro] - opens shell to path in macro",
        u" find [pattern] - looks for pattern in macros and values",
        u" apps [pattern] - lists installed applications",
        u" max - max the window for viewing output",
        u" min - return window to set size",
        u" ! - preceeding macro runs literally not macro value",
        u"",
        u"SYNTAX:",
        u" [!]macro [arg1] [arg2] ...",
        u" command [args]",
        u"",
        u"NOTES:",
        // One line of help, wrapped only here.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
        u" Typing an app name in place of a macro is the same "
        u"as running a macro literally. It will search the path for the "
        u"literal string typed and run it if found, or return an error.",
    };
    helpText.clear();
    for (const TextView line : kLines) {
        helpText += line;
        helpText += CRLF;
    }
}

} // namespace zorlo
