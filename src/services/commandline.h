// The files a command line names. A path with blanks reaches a program split
// into several arguments when it was not quoted; the program joins them again
// the way its user meant them.
#pragma once

#include <functional>
#include <vector>

#include "rtl/types.h"

// From each argument on, the arguments are joined with blanks until the text
// names an existing file, which is taken, and the next argument starts again.
// An argument from which no join names a file is an item of its own, so that
// a missing name is reported by whoever opens the items and takes no later
// file along. Empty arguments name nothing and are left out.
std::vector<String> JoinFileArguments(const std::vector<String>& arguments,
                                      const std::function<bool(const String&)>& fileExists);
