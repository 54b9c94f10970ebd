// The flags of a file's version information. The image reader and the file
// version services both speak of them, and the program uses both.
#pragma once

enum TFileFlag { ffDebug, ffInfoInferred, ffPatched, ffPreRelease, ffPrivateBuild, ffSpecialBuild };
