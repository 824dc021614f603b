// Writing a whole file so that a reader never sees half of it.
#pragma once

#include <string>

namespace nyhost {

// Temporary file in the target's folder (fsync), then rename: the old file survives any
// failure. The target keeps its permissions; our own stale temporaries of that file go.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error);

}  // namespace nyhost
