#include "services/commandline.h"

std::vector<String> JoinFileArguments(const std::vector<String>& arguments,
                                      const std::function<bool(const String&)>& fileExists) {
  std::vector<String> items;
  size_t i = 0;
  while (i < arguments.size()) {
    if (arguments[i].empty()) {
      ++i;
      continue;
    }
    String joined;
    size_t taken = 0;
    for (size_t j = i; j < arguments.size(); ++j) {
      if (j > i) joined += u' ';
      joined += arguments[j];
      if (fileExists(joined)) {
        taken = j - i + 1;
        break;
      }
    }
    if (taken > 0) {
      items.push_back(std::move(joined));
      i += taken;
    } else {
      items.push_back(arguments[i]);
      ++i;
    }
  }
  return items;
}
