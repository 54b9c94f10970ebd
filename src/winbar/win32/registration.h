// Makes the window bar's controls known by name to a class registry, with
// their published properties, so that forms and previews can hold them.
#pragma once

class TClassRegistry;

void RegisterWinbarClasses(TClassRegistry& registry);
