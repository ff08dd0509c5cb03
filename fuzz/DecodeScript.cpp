// Prints the zorlo-script script that one input of the script fuzzer stands
// for, so that the corpus can be replayed by the plain runner:
//   decode_script INPUT > SCRIPT.jsonl
#include "ScriptDecoder.hpp"

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: decode_script INPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "decode_script: cannot read " << argv[1] << "\n";
        return 2;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::cout << zorlo::fuzz::decodeScript(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           bytes.size());
    return std::cout ? 0 : 1;
}
