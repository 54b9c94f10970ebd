// Which component classes previews can build: the start-up class table, the
// twelve further classes and the classes of the component packages named in
// the INI file beside the program.
//
// The IDE's packages are compiled for another run-time and cannot run here,
// so no package is ever loaded as code. A package is read as a file by the
// image reader instead: each class its class scan finds whose nearest
// registered ancestor can be traced (a class of the same package, or one the
// package imports) is registered under its own name as a stand-in of that
// ancestor, so a preview of a form that uses it shows it as its ancestor.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "rtl/stringlist.h"

class TClassInfo;
class TClassRegistry;
class TPEReader;

// The 280 class names of the start-up table in table order; eight stand twice.
std::span<const char16_t* const> StartupClassTable();
// The twelve classes registered after the packages, in their order.
std::span<const char16_t* const> FurtherClasses();

// Registers the catalogue's classes of those names in the given order (a
// name already registered is skipped); names the catalogue does not know go
// to `missing`, each once. The program's catalogue is its own registry, which
// the libraries' registration functions have filled.
void RegisterClassNames(TClassRegistry& registry, const TClassRegistry& catalogue,
                        std::span<const char16_t* const> names, std::vector<String>* missing = nullptr);
// Registers the class when the registry does not know its name.
bool RegClass(TClassRegistry& registry, const TClassInfo& cls);

// A class of a package image and the name of its parent as the image gives
// it: through the parent link of its class table, to a class of the same
// code section or to an imported class ("@Unit@TClass@"). Empty when the
// link cannot be followed.
struct TPackageClass {
  String Name;
  String Parent;
};
std::vector<TPackageClass> PackageClasses(const TPEReader& reader);

// The package state of the main window: the package paths, the packages read
// (each once) and the "path=message" lines of the packages that failed. Its
// registry is the one previews build from, never the program's own. Owns
// the stand-in classes, so it must outlive every use of the registry's
// entries for them; it unregisters them when it goes.
class TPackageSet {
 public:
  explicit TPackageSet(TClassRegistry& registry);
  ~TPackageSet();
  TPackageSet(const TPackageSet&) = delete;
  TPackageSet& operator=(const TPackageSet&) = delete;

  TStringList PackageList;
  TStringList ErrorList;
  // The packages read so far, by path, each once.
  const std::vector<String>& FPHL() const { return FLoaded; }
  // The registry the packages add their classes to.
  const TClassRegistry& Registry() const { return FRegistry; }
  // How many classes the package added when it was last installed; -1 when
  // it has not been installed.
  int AddedClasses(const String& path) const;

  void LoadPackages(const String& iniFileName);
  void SavePackages(const String& iniFileName) const;
  // The number of classes newly registered from the package.
  int InstallPackage(const String& path);
  // Clears the errors, installs every listed package, then registers the
  // further classes of the catalogue that the registry does not know.
  void InstallPackages(const TClassRegistry& catalogue);
  // Takes the package's classes out of the registry at once and forgets it,
  // as unloading a package would; the stand-ins themselves stay until the
  // set goes, since trees of open documents may still point at them.
  void RemovePackage(const String& path);
  // Unregisters the classes of every package read and forgets the packages.
  void UnInstallPackages();

 private:
  TClassRegistry& FRegistry;
  std::vector<String> FLoaded;
  std::vector<std::pair<String, int>> FAdded;
  std::vector<std::unique_ptr<TClassInfo>> FStandIns;
};

// The start-up work of the previews' registry, a registry of its own: the
// table's classes in table order from the catalogue (the program's registry,
// which the libraries' registration functions have filled), then the
// packages listed in the INI file beside the program, then the further
// classes. The program's own windows and services are never in it.
void RegisterStartupClasses(TClassRegistry& registry, const TClassRegistry& catalogue, TPackageSet& packages,
                            const String& programPath);
// The previews' registry without packages: the table, then the further classes.
void RegisterTableClasses(TClassRegistry& registry, const TClassRegistry& catalogue);
