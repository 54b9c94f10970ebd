// Drag-and-drop data as the drop target reads it, without the platform:
// drop effects, the shell's list of dropped files and the descriptors of
// virtual files. The data comes from another program, so every count and
// offset in it is checked against the bytes there are.
#pragma once

#include <vector>

#include "rtl/types.h"

enum TSvDropEffect : Byte { deNone, deCopy, deMove, deLink, deScroll };

inline constexpr Cardinal kDropEffectCopy = 1;
inline constexpr Cardinal kDropEffectMove = 2;
inline constexpr Cardinal kDropEffectLink = 4;
inline constexpr Cardinal kDropEffectScroll = 0x80000000u;

// Copy before move before link before scroll.
TSvDropEffect DropEffectFromPlatform(Cardinal effect);
Cardinal DropEffectToPlatform(TSvDropEffect effect);

// The names of a shell file list (a DROPFILES header of 20 bytes: offset of
// the names, point, non-client flag, wide flag; then zero-terminated names
// ending with an empty one). A list that runs past the data ends there: a
// name without its terminator is dropped.
std::vector<String> DroppedFileNames(const Byte* data, size_t size);

// A virtual-file descriptor group: a 32-bit count, then 592-byte
// descriptors with the name (260 UTF-16 units, zero-terminated) at byte 72.
// The count is clamped to the descriptors the data holds.
inline constexpr size_t kFileDescriptorSize = 592;
inline constexpr size_t kFileDescriptorNameOffset = 72;
inline constexpr size_t kFileDescriptorNameChars = 260;
size_t FileDescriptorCount(const Byte* data, size_t size);
std::vector<String> FileDescriptorNames(const Byte* data, size_t size);
