// The desktop icon of the installed game: the deer on a winter night, at the hicolor theme sizes.
#pragma once

#include <string>

// Writes OUTDIR/NxN/apps/velmoor.png for every icon size; returns the number of files not written.
int makeDesktopIcons(const std::string& outDir);
