// File operations of the database backup and import.
#pragma once

#include <filesystem>
#include <string>

// The file of `folder` whose name equals `name` without regard to case; empty when none.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, const std::string& name);

// Copies `from` over `to` through a temporary file beside `to` that is renamed at the end, so
// `to` is either the old file or the complete new one. False (with a reason) on failure.
bool CopyFileAtomic(const std::filesystem::path& from, const std::filesystem::path& to,
                    std::string* error = nullptr);
