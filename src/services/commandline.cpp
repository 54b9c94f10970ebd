#include "services/commandline.h"

std::vector<String> JoinFileArguments(const std::vector<String>& arguments,
                                      const std::function<bool(const String&)>& fileExists) {
  std::vector<String> files;
  String joined;
  for (const String& argument : arguments) {
    joined += argument;
    if (fileExists(joined)) {
      files.push_back(joined);
      joined.clear();
    } else {
      joined += u' ';
    }
  }
  return files;
}
