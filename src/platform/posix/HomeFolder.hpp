#pragma once

#include <string>
#include <string_view>

namespace zorlo::posix {

// The user's home folder: $HOME, else the password database's entry, else "/".
std::string homeFolder();

// "~" alone or "~/..." at the start of a path means the home folder, as in
// every Linux shell; any other text comes back unchanged ("~user" too). Only
// the adapters expand it: what the user typed is stored as typed.
std::string expandHome(std::string_view path);

} // namespace zorlo::posix
