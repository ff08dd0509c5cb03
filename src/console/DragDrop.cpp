#include "console/Console.hpp"

#include "launch/PathText.hpp"
#include "platform/KeyCodes.hpp"
#include "store/MacroNames.hpp"
#include "text/Failure.hpp"

#include <utility>

namespace zorlo {

namespace {

constexpr std::pair<DropFormat, TextView> kFormats[] = {
    {DropFormat::Files, u"files"},       {DropFormat::Link, u"link"},
    {DropFormat::Text, u"text"},         {DropFormat::Bitmap, u"bitmap"},
    {DropFormat::Palette, u"palette"},   {DropFormat::Dib, u"dib"},
    {DropFormat::Metafile, u"metafile"},
};

constexpr int kNameBoxOffset = 100;

} // namespace

void Console::txtCLI_OLEDragDrop(const DroppedData& data, int shift) {
    // The drop's messages end in line breaks, which the change handling would
    // take for Enter and run the half-typed line.
    writeAside([&] { dropData(data, shift); });
}

void Console::dropData(const DroppedData& data, int shift) {
    try {
        oleDrop = true;
        const bool askForName = shift == ShiftState::Ctrl;
        Text name;
        TextView label = u"unknown";
        for (const auto& [format, formatLabel] : kFormats) {
            if (data.getFormat(format)) {
                label = formatLabel;
            }
        }
        const auto nameBox = [this](const Text& item, const Text& defaultName) {
            d_.window.setForeground();
            return d_.dialogs
                .inputBox(u"Macro name for " + item, u"Macro Name", defaultName,
                          d_.window.left() + kNameBoxOffset, d_.window.top() + kNameBoxOffset)
                .value_or(Text());
        };
        if (label == u"files") {
            for (const Text& file : data.files()) {
                if (askForName) {
                    name = nameBox(file, baseName(file));
                }
                d_.window.setForeground();
                addFileMacro(file, name);
            }
            oleDrop = false;
        } else if (label == u"text") {
            const Text s = data.text();
            const Text suggested = nameFromUrl(s);
            name = suggested;
            if (name.empty() || askForName) {
                name = nameBox(s, suggested);
            }
            d_.window.setForeground();
            if (name.empty()) {
                name = suggested;
            }
            addFileMacro(s, name);
            oleDrop = false;
        } else {
            Stat(u"Unsupported Format: " + Text(label));
            oleDrop = false;
        }
    } catch (const Failure& failure) {
        Stat(u"OLE ERROR: " + failure.description());
        oleDrop = false;
    } catch (const std::exception& failure) {
        Stat(u"OLE ERROR: " + fromUtf8(failure.what()));
        oleDrop = false;
    }
}

} // namespace zorlo
