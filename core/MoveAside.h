// Keeps a per-user file that a read refused out of the way of the next save, so the save
// does not replace the user's only copy. The file goes, in its folder, to the first free
// name of stem + extension, stem + "-1" + extension, stem + "-2" + extension, ... and never
// replaces anything there, not even a file that appears at a name while it moves. Stateless.
#pragma once

#include <string>

// Moves the file at path to the first free name of the series; stem holds the folder. Returns
// the name it took, or "" with the reason in error when it could not move.
std::string MoveToFirstFreeName(const std::string& path, const std::string& stem,
                                const std::string& extension, std::string& error);

// For a regular file at path that a read refused: moves it as above and logs a WARNING that
// names where it went (what is the subject of that line, "The settings file ..." say). False,
// with an ERROR, when it stays at path: the next save must then leave it alone. Anything
// but a regular file is left where it is, and true: a save refuses to replace it anyway.
bool MoveRefusedFileAside(const std::string& path, const std::string& stem, const std::string& extension,
                          const std::string& what);
