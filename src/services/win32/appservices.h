// Makes the application-service components of this folder known by name, so
// that forms holding them can be read.
#pragma once

class TClassRegistry;

void RegisterAppServiceClasses(TClassRegistry& registry);
