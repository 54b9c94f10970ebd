// The classes of the start-up table that the window library defines without
// registering them by name (drawing objects, the application and screen,
// string lists): previews know them too.
#pragma once

class TClassRegistry;

void RegisterLibraryTableClasses(TClassRegistry& registry);
