#pragma once

#include "platform/Applications.hpp"
#include "script/Transcript.hpp"

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace zorlo {
class Console;
class FakeDesktop;
} // namespace zorlo

namespace zorlo::script {

// Plays a JSON-lines script against the console engine wired to the fake
// desktop and prints what the console did as a JSON-lines transcript.
class ScriptRunner {
  public:
    ScriptRunner(std::filesystem::path folder, std::ostream& out);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The exit status: 0 when the script ran (to its end, or until the window
    // unloaded); 2 when a line is no valid command, with one line on `err`.
    int run(std::istream& in, std::ostream& err);

  private:
    // Returns false once the window has unloaded: the rest of the script is ignored.
    bool play(const Json& command);
    void requireStarted(const std::string& name) const;
    void requireNotStarted(const std::string& name) const;

    void start();
    void type(const Text& text);
    void key(int virtualKey, int shift);
    void textAreaAction(int virtualKey, int shift);
    void drop(const Json& data, int shift);
    void tick(int count);
    void setApps(const Json& list);

    Transcript transcript_;
    std::unique_ptr<FakeDesktop> desktop_;
    std::unique_ptr<Console> console_;
    // What the fake application port lists; handed to the console when it
    // starts and whenever the script changes it, as a desktop's reader would.
    std::vector<Application> apps_;
};

} // namespace zorlo::script
