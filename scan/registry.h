// Registry values named by a path, tested and deleted under the five roots.
#pragma once

#include "core/text.h"

// Roots by number: 1 HKEY_CLASSES_ROOT, 2 HKEY_CURRENT_CONFIG, 3 HKEY_CURRENT_USER,
// 4 HKEY_LOCAL_MACHINE, 5 HKEY_USERS; any other number stands for HKEY_CURRENT_USER.
// A path is a key path, a backslash and a value name (split at the last
// backslash); without a backslash the value lies in the root key itself.

// True when the value exists, whatever its type; a subkey is not a value.
bool RegistryValueExists(int root, const Text& path);
// Deletes the value, or else the key the whole path names (one without subkeys).
bool DeleteRegistryEntry(int root, const Text& path);

// The path without the root names HKEY_CLASSES_ROOT\, HKEY_CURRENT_USER\,
// HKEY_LOCAL_MACHINE\, HKEY_USERS\ and HKEY_CURRENT_CONFIG\, in any case, wherever they stand.
Text StripRootNames(const Text& path);
// Roots 1 to 5 in turn, up to the first that has the value / where a deletion succeeds.
bool ExistsUnderAnyRoot(const Text& path);
bool DeleteUnderAnyRoot(const Text& path);
