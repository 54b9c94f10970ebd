#pragma once

#include "services/registry_fixture.h"

// The real registry below HKEY_CURRENT_USER\Software\Kestrum Tests\<unique>.
std::unique_ptr<TTestRegistry> MakeWindowsTestRegistry();
