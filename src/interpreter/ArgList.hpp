#pragma once

#include "text/Text.hpp"

#include <array>

namespace zorlo {

// The words of a split line: positions 1 to argCount, position 0 unused, and
// every position above argCount empty so that a missing argument reads as "".
struct ArgList {
    static constexpr int kCapacity = 50;
    std::array<Text, kCapacity + 1> args;
    int argCount = 0;

    const Text& operator[](int position) const {
        return args.at(static_cast<std::size_t>(position));
    }
    Text& operator[](int position) { return args.at(static_cast<std::size_t>(position)); }
};

// Splits a line into words: blanks and tabs separate, double quotes group, a
// doubled double quote stands for one quote. Blanks and tabs at the start of the
// line are skipped. Throws Failure when the line needs a 51st word.
void parseArgs(TextView line, ArgList& out);

// A word written back into a command line so that parseArgs reads it as the
// same one word: an inner double quote doubled, and the word enclosed in double
// quotes when it holds a blank or a tab.
Text quoteWord(TextView word);

} // namespace zorlo
