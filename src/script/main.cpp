#include "script/ScriptRunner.hpp"

#include <exception>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zorlo-script FOLDER < script.jsonl > transcript.jsonl\n";
        return 2;
    }
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    // Transcripts end their lines in LF on every system, so they compare as they are.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        zorlo::script::ScriptRunner runner(argv[1], std::cout);
        return runner.run(std::cin, std::cerr);
    } catch (const std::exception& error) {
        // Only an engine fault gets here: the console itself never lets a failure escape.
        std::cout.flush();
        std::cerr << "zorlo-script: the console failed: " << error.what() << '\n';
        return 1;
    }
}
