// Writing the generator's output files safely: the bytes go to a temporary
// file beside the target, which is renamed over it only once it is complete.
#pragma once

#include <string>

// Writes bytes to path through path + ".part"; false, with a message on
// standard error, when the file could not be written completely.
bool writeFileSafely(const std::string& path, const std::string& bytes);
