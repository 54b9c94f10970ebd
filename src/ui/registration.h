// Makes the window library's classes known by name to a class registry, with
// their published properties, so that forms and previews can be read.
#pragma once

class TClassRegistry;

// Registers every component class of the library (and the types of their
// properties for the class browser), and makes JPEG pictures known to TPicture.
void RegisterUiClasses(TClassRegistry& registry);
