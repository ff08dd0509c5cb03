// zorlo-script played in-process with scripts built from the fuzzer's bytes
// over a small vocabulary of user and desktop events. Any such script must run
// to its end (or to the window's unload) without a crash; and the files that
// the console leaves behind must load in a second run without a load error.
#include "FuzzSupport.hpp"

#include "ScriptDecoder.hpp"
#include "script/ScriptRunner.hpp"

#include <sstream>

using zorlo::fuzz::check;

namespace {

// Plays the script and returns what it printed.
std::string play(const std::filesystem::path& folder, const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    {
        zorlo::script::ScriptRunner runner(folder, out);
        check(runner.run(in, err) == 0, "the runner refused a generated script: " + err.str());
    }
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto folder = zorlo::fuzz::freshScratchFolder("zorlo-fuzz-script");
    const std::string script = zorlo::fuzz::decodeScript(data, size);

    play(folder, script);
    // What one run saved, the next run must load: the console's own files never
    // fail to load.
    const std::string printed = play(folder, "[\"start\"]\n[\"dump\"]\n");
    check(printed.find("LOAD: Error") == std::string::npos,
          "the files a run saved did not load in the next run:\n" + script);
    return 0;
}
