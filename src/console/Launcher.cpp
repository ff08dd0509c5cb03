#include "console/Console.hpp"

#include "launch/PathText.hpp"

namespace zorlo {

void Console::shellErrorText() {
    shellErrors.fill(u"Unknown Error");
    shellErrors[0] = u"The operating system is out of memory or resources.";
    shellErrors[2] = u"The specified file was not found.";
    shellErrors[3] = u"The specified path was not found.";
    shellErrors[5] = u"The operating system denied access to the specified file.";
    shellErrors[8] = u"There was not enough memory to complete the operation.";
    shellErrors[11] = u"The .exe file is invalid (non-Win32\u00AE .exe or error in .exe image).";
    shellErrors[26] = u"A sharing violation occurred.";
    shellErrors[27] = u"The file name association is incomplete or invalid.";
    shellErrors[28] = u"The DDE transaction could not be completed because the request timed out.";
    shellErrors[29] = u"The DDE transaction failed.";
    shellErrors[30] = u"The DDE transaction could not be completed because other DDE transactions "
                      u"were being processed.";
    shellErrors[31] = u"There is no application associated with the given file name extension. "
                      u"This error will also be returned if you attempt to print a file that is "
                      u"not printable.";
    shellErrors[32] = u"The specified dynamic-link library was not found.";
}

long Console::execute(const Text& label, const Text& target, const Text& argText) {
    const Text directory = parentFolderName(target) + u"\\";
    return reportLaunch(label, target, d_.shell.open(target, argText, directory));
}

long Console::launchApplication(const Application& app) {
    std::vector<Text> words;
    for (int i = 2; i <= args.argCount; ++i) {
        words.push_back(args[i]);
    }
    // The folder a bare program name is launched in: the console's own.
    return reportLaunch(app.name, app.target, d_.applications.launch(app, words, u"\\"));
}

long Console::reportLaunch(const Text& label, const Text& target, long result) {
    if (result > 32) {
        Stat(u"Execute " + label + u": Success");
        return result;
    }
    // A code outside the table (a broken adapter, say) still gets a readable report.
    const bool known = result >= 0 && result < static_cast<long>(shellErrors.size());
    const Text& reason = known ? shellErrors[static_cast<std::size_t>(result)] : shellErrors[1];
    Stat(u"Execute " + label + u": Failed " + target + Text(CRLF) + u"(" + reason + u")");
    return 0;
}

} // namespace zorlo
