// The files a command line names. A path with blanks reaches a program split
// into several arguments when it was not quoted; the program joins them again
// the way its user meant them.
#pragma once

#include <functional>
#include <vector>

#include "rtl/types.h"

// Appends the arguments one by one to a text, each followed by a blank; as
// soon as the text less that blank names an existing file, the file is taken
// and the text starts again. Arguments that never complete a file are dropped.
std::vector<String> JoinFileArguments(const std::vector<String>& arguments,
                                      const std::function<bool(const String&)>& fileExists);
