// Where the front-ends find the lighting module and how they apply the data-folder option.
#pragma once

#include <string>

namespace nycli {

// <executable dir>/../<libdir>/nyluxora/NYLuxora.so, the same in the build tree and installed.
std::string DefaultModulePath();
// --data-dir: the user's data folder for this run (exported as NYLUXORA_HOME for the module).
void UseDataDir(const std::string& dir);

}  // namespace nycli
