#include "console/Console.hpp"

#include "store/Pattern.hpp"

namespace zorlo {

void Console::applicationsRead(std::vector<Application> apps) {
    apps_.assign(std::move(apps));
    // Positions into the old list mean nothing in the new one: a cycle that
    // was offering applications starts them again from the first.
    if (complStage != ComplStage::History) {
        complStage = ComplStage::Apps;
        complApp = 0;
    }
}

void Console::listApps(const Text& pattern) {
    Text listing;
    if (apps_.count() > 0) {
        const Pattern compiled(pattern);
        const auto begins = [&](TextView name) {
            return compiled.matches(name.substr(0, pattern.size()));
        };
        for (std::size_t i = 1; i <= apps_.count(); ++i) {
            const Application& app = apps_.at(i);
            if (pattern.empty() || begins(app.name)) {
                if (!listing.empty()) {
                    listing += CRLF;
                }
                listing += app.name + u" (" + app.target + u")";
            }
        }
    }
    writeOutput(listing.empty() ? Text(u"No Match") : listing);
}

bool Console::offerNextApp(TextView word, const Text& prefix) {
    if (complStage == ComplStage::Apps) {
        if (const std::size_t next = apps_.findBeginning(word, complApp)) {
            const Text name = apps_.at(next).name;
            complApp = next;
            pendingLine = prefix + quoteWord(name);
            d_.label.setCaption(u"'" + name + u"' from APPS");
            txtCLI_Change();
            return true;
        }
        complStage = ComplStage::Rest;
    }
    return false;
}

void Console::endCompletion() {
    complIndex = 0;
    complWord.clear();
    complStage = ComplStage::History;
    complHistory.clear();
    complApp = 0;
}

} // namespace zorlo
