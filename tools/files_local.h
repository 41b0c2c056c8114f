// Writing the generator's output files safely: the bytes go to a temporary
// file beside the target, which is renamed over it only once it is complete.
#pragma once

#include <string>

// Writes bytes to path through path + ".part"; false, with a message on
// standard error, when the file could not be written completely.
bool writeFileSafely(const std::string& path, const std::string& bytes);

// Like writeFileSafely, but never replaces a file that already exists at path:
// sets created to whether this call made it. False only on a write failure.
bool writeFileIfMissing(const std::string& path, const std::string& bytes, bool& created);
