#include "store/SettingsFile.hpp"
#include "store/FileIo.hpp"
#include "text/Failure.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

using namespace zorlo;
namespace fs = std::filesystem;

// What a save writes, two quoted lines a pair with CR LF, is pinned byte for
// byte by the transcripts' .after files (settings_round_trip, startup_first).

namespace {

using Fields = std::vector<Text>;

Fields readAll(const Text& content) {
    SettingsReader reader(content);
    Fields fields;
    while (!reader.atEnd() && fields.size() < 100) { // a reader stuck in place fails, not hangs
        fields.emplace_back(reader.readField());
    }
    return fields;
}

} // namespace

TEST(SettingsFileReader, IsLenient) {
    const std::vector<std::pair<Text, Fields>> cases = {
        {u"", {}},
        {u"\"ed\"\r\n\"v\"\r\n", {u"ed", u"v"}},
        {u"ed\r\nC:\\Tools\\editor.exe\r\n", {u"ed", u"C:\\Tools\\editor.exe"}},
        {u"  ed  \r\n\t value  with blanks \t\r\n", {u"ed", u"value  with blanks"}},
        {u"   \"ed\"\r\n\t\"  kept  \"\r\n", {u"ed", u"  kept  "}},
        {u"a,b\r\n c , d \r\n", {u"a", u"b", u"c", u"d"}},
        {u"\"a,b\"\r\n\"c\"\r\n", {u"a,b", u"c"}},
        {u"\"ed\" ignored text\r\n\"v\"junk\r\n", {u"ed", u"v"}},
        {u"\"ed\"x,\"v\"\r\n", {u"ed", u"v"}},
        {u"\"ed\"\r\n\"v\"", {u"ed", u"v"}},
        // A pair that has no value line: reading on fails (the startup_list_cut transcript).
        {u"\"ed\"\r\n\"v\"\r\n\"np\"\r\n", {u"ed", u"v", u"np"}},
        {u"\"ed\"\r\n\r\n\"v\"\r\n", {u"ed", u"", u"v"}},
        {u"\"\"\r\n\"\"\r\n", {u"", u""}},
        {u"\"open\r\nnext\r\n", {u"open", u"next"}},
        {u"ed\nv\n", {u"ed", u"v"}},
    };
    for (const auto& [content, expected] : cases) {
        EXPECT_EQ(readAll(content), expected) << toUtf8(content);
    }
}

TEST(SettingsFileReading, TellsAnAbsentFileFromAnUnreadableOne) {
    const fs::path dir = fs::temp_directory_path();
    EXPECT_EQ(readFileBytes(dir / ("zorlo-absent-" + std::to_string(std::random_device{}()))),
              std::nullopt);
    EXPECT_THROW(readFileBytes(dir), Failure); // a folder is no file
}
