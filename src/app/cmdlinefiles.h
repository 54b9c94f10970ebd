// The form files a command line names: a path with blanks may arrive split
// into several arguments, so arguments are joined with blanks until they
// name an existing file.
#pragma once

#include <functional>
#include <vector>

#include "rtl/types.h"

// `exists` tells whether a path names an existing file. An argument that
// never completes a path is dropped.
std::vector<String> JoinCommandLineFiles(const std::vector<String>& arguments,
                                         const std::function<bool(const String&)>& exists);
