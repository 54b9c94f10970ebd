#include "app/cmdlinefiles.h"

std::vector<String> JoinCommandLineFiles(const std::vector<String>& arguments,
                                         const std::function<bool(const String&)>& exists) {
  std::vector<String> files;
  String accumulator;
  for (const String& argument : arguments) {
    accumulator += argument + u" ";
    const String path = accumulator.substr(0, accumulator.size() - 1);
    if (exists(path)) {
      files.push_back(path);
      accumulator.clear();
    }
  }
  return files;
}
