// Makes the panel kit's classes known by name to a class registry, with
// their published properties, so that forms and previews can be read.
#pragma once

class TClassRegistry;

void RegisterPanelKitClasses(TClassRegistry& registry);
// The glyphs, images, panels, labels, splitters and flip panels.
void RegisterPanelKitCollectionClasses(TClassRegistry& registry);
// The palette tab control, link menu, status bar, tool box and outlook bar.
void RegisterPanelKitNavigationClasses(TClassRegistry& registry);
